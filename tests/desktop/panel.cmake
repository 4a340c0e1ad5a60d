# The tray icon on a real desktop's notification area, xfce4-panel, on a
# private session bus: its exported menu, a stop from it, and the panel
# crashing and coming back while armed.
find_program(DURMIVELA_XFCE4_PANEL xfce4-panel)
if(DURMIVELA_XFCE4_PANEL)
  add_test(NAME desktop_panel COMMAND ${CMAKE_CURRENT_LIST_DIR}/panel.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(desktop_panel PROPERTIES TIMEOUT 120 RUN_SERIAL ON)
  # Under the sanitizers: full allocation stacks, as for desktop_sni.
  set_tests_properties(desktop_panel PROPERTIES ENVIRONMENT_MODIFICATION
    "ASAN_OPTIONS=string_append::fast_unwind_on_malloc=0")
else()
  message(STATUS "xfce4-panel not found (Debian package xfce4-panel): the real tray host's test is left out")
endif()
