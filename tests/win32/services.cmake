# The Win32 platform services against the real system calls, under Wine.
add_executable(durmivela_win32_services_tests ServicesTest.cpp)
target_link_libraries(durmivela_win32_services_tests PRIVATE durmivela_win32 durmivela_testsupport GTest::gtest_main)
add_test(NAME win32_services COMMAND durmivela_win32_services_tests)
set_tests_properties(win32_services PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
