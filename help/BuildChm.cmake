# Compiles Durmivela.chm. cmake -P script.
# In: CHMCMD, SOURCE_DIR (this folder), WORK_DIR (a scratch folder), OUTPUT;
# SOURCE_SET only tells the build tool when the set of pages changed.
#
# chmcmd writes its output beside the project file, so it runs on a copy of
# the sources. It reports a link to a missing page as a warning and still
# exits 0: any warning fails the build here, so no broken link ships.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(COPY "${SOURCE_DIR}/" DESTINATION "${WORK_DIR}"
     FILES_MATCHING PATTERN "*.htm" PATTERN "*.css" PATTERN "*.png" PATTERN "*.gif" PATTERN "*.jpg"
                    PATTERN "Durmivela.hh?")

execute_process(
  COMMAND "${CHMCMD}" --verbosity 1 Durmivela.hhp
  WORKING_DIRECTORY "${WORK_DIR}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)

if(NOT status EQUAL 0 OR NOT EXISTS "${WORK_DIR}/Durmivela.chm")
  message(FATAL_ERROR "chmcmd failed (exit status ${status}):\n${output}")
endif()
string(REGEX MATCHALL "[^\n]*(Warning|Error|[Ee]xception)[^\n]*" problems "${output}")
if(problems)
  list(JOIN problems "\n" problems)
  message(FATAL_ERROR "chmcmd reported problems in the help sources:\n${problems}")
endif()

file(COPY_FILE "${WORK_DIR}/Durmivela.chm" "${OUTPUT}")
