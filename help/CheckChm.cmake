# Opens the compiled help file with extract_chmLib and checks that it holds
# every page of this folder, the style sheet, the contents, the index and the
# header that viewers read first. cmake -P script.
# In: EXTRACT, CHM, SOURCE_DIR, WORK_DIR.

cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${CHM}")
  message(FATAL_ERROR "${CHM} does not exist: build the target durmivela_help first")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${EXTRACT}" "${CHM}" "${WORK_DIR}"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
# extract_chmLib exits 0 even when it cannot read an entry; it says so on stderr.
if(NOT status EQUAL 0 OR error MATCHES "incomplete|failed|[Ee]rror")
  message(FATAL_ERROR "${CHM} does not open whole (extract_chmLib: ${status}):\n${error}")
endif()

file(GLOB_RECURSE pages RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.htm")
set(missing "")
foreach(entry IN LISTS pages ITEMS estilo.css Durmivela.hhc Durmivela.hhk "#SYSTEM")
  if(NOT EXISTS "${WORK_DIR}/${entry}")
    list(APPEND missing "${entry}")
  elseif(entry MATCHES "\\.(htm|hhc|hhk)$")
    # A damaged or cut entry extracts to fewer bytes than its source.
    file(SIZE "${WORK_DIR}/${entry}" extractedSize)
    file(SIZE "${SOURCE_DIR}/${entry}" sourceSize)
    if(NOT extractedSize EQUAL sourceSize)
      list(APPEND missing "${entry} (${extractedSize} of ${sourceSize} bytes)")
    endif()
  endif()
endforeach()

# The contents name only pages that are in the file, and name every page.
file(READ "${WORK_DIR}/Durmivela.hhc" contents)
string(REGEX MATCHALL "name=\"Local\" value=\"[^\"]+\"" named "${contents}")
string(REGEX REPLACE "name=\"Local\" value=\"([^\"]+)\"" "\\1" named "${named}")
foreach(page IN LISTS named)
  if(NOT EXISTS "${WORK_DIR}/${page}")
    list(APPEND missing "${page} (named in the contents)")
  endif()
endforeach()
foreach(page IN LISTS pages)
  if(NOT page IN_LIST named)
    list(APPEND missing "${page} in the contents")
  endif()
endforeach()

if(missing)
  list(JOIN missing "\n  " missing)
  message(FATAL_ERROR "${CHM} lacks:\n  ${missing}")
endif()
list(LENGTH pages n)
message(STATUS "${CHM}: all ${n} pages, in the contents too")
