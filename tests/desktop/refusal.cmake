# A shutdown that logind refuses: the window comes back, armed, with the reason.
add_test(NAME desktop_refusal COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/desktop/refusal.sh ${CMAKE_BINARY_DIR})
set_tests_properties(desktop_refusal PROPERTIES TIMEOUT 120 RUN_SERIAL ON)
