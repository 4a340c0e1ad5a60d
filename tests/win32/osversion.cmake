# The system's version numbers named as the settings dialog names them, under
# the Windows versions Wine pretends to be.
add_executable(durmivela_osversion OsVersionProbe.cpp)
target_link_libraries(durmivela_osversion PRIVATE durmivela_win32)
add_test(NAME win32_os_version
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/os_version.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:durmivela_osversion>)
set_tests_properties(win32_os_version PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
