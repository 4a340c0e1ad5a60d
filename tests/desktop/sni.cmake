# The tray icon on a desktop that hosts icons over D-Bus (StatusNotifierItem),
# against a mock watcher on a private session bus.
add_test(NAME desktop_sni COMMAND ${CMAKE_CURRENT_LIST_DIR}/sni.sh ${CMAKE_BINARY_DIR})
set_tests_properties(desktop_sni PROPERTIES TIMEOUT 90 RUN_SERIAL ON)
# Under the sanitizers: full allocation stacks, so that the suppression of Qt's
# own leak in its tray-host check can name the function.
set_tests_properties(desktop_sni PROPERTIES ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=string_append::fast_unwind_on_malloc=0")
