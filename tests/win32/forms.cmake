# The Win32 rendering of the form model, under Wine with the session's display.
add_executable(durmivela_win32_forms_tests FormWindowTest.cpp CaptionFitTest.cpp)
target_link_libraries(durmivela_win32_forms_tests PRIVATE durmivela_win32 durmivela_testsupport oleacc
                      GTest::gtest_main)
# The program's own resources: its manifest gives the test the common controls
# of version 6 (themed) that Durmivela.exe draws with, and its icon.
if(EXISTS ${CMAKE_BINARY_DIR}/platform/win32/Durmivela.rc)
  target_sources(durmivela_win32_forms_tests PRIVATE ${CMAKE_BINARY_DIR}/platform/win32/Durmivela.rc)
endif()
# Beside Leng/, where the main window's tests find the language files.
set_target_properties(durmivela_win32_forms_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(durmivela_win32_forms_tests durmivela_languages)
add_test(NAME win32_forms COMMAND durmivela_win32_forms_tests)
# Under the C locale Wine hides the file names outside ASCII (Español.lng).
set_tests_properties(win32_forms PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 180
                     ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8")
