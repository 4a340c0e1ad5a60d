# The online update with WinInet and real processes under Wine, against the
# local test server (python3), which update_server.sh runs around the test:
# the Linux program's update test, built for Windows.
add_executable(durmivela_test_updater TestUpdater.cpp)
add_executable(durmivela_win32_update_tests ${PROJECT_SOURCE_DIR}/tests/update/ActualizarRedTest.cpp)
target_link_libraries(durmivela_win32_update_tests PRIVATE durmivela_win32 durmivela_testsupport GTest::gtest_main
  crypt32 psapi)
add_dependencies(durmivela_win32_update_tests durmivela_test_updater)
target_compile_definitions(durmivela_win32_update_tests PRIVATE
  DURMIVELA_TEST_UPDATER="$<TARGET_FILE:durmivela_test_updater>")
add_test(NAME win32_update
         COMMAND ${PROJECT_SOURCE_DIR}/tests/update/update_server.sh ${PROJECT_SOURCE_DIR}/tests/update/servidor_prueba.py
                 $<TARGET_FILE:durmivela_win32_update_tests>)
set_tests_properties(win32_update PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
