# The screen capture in a Wayland session through a mock screenshot portal
# (python3-dbus) on a private session bus that dbus-run-session starts and stops.
add_executable(durmivela_portal_tests ${CMAKE_CURRENT_LIST_DIR}/PortalTest.cpp)
target_link_libraries(durmivela_portal_tests PRIVATE durmivela_qt durmivela_testsupport GTest::gtest_main)
target_compile_definitions(durmivela_portal_tests PRIVATE
  DURMIVELA_MOCK_PORTAL="${CMAKE_CURRENT_LIST_DIR}/mock_portal.py")
# A session bus of its own; no display, and Qt's minimal platform, not
# "offscreen", which claims an X11 interface that has no connection.
add_test(NAME desktop_portal COMMAND dbus-run-session -- $<TARGET_FILE:durmivela_portal_tests>)
# Serial: one test measures how long the capture waits.
set_tests_properties(desktop_portal PROPERTIES TIMEOUT 60 RUN_SERIAL ON
  ENVIRONMENT "QT_QPA_PLATFORM=minimal;LANG=C.UTF-8;LC_ALL=C.UTF-8"
  ENVIRONMENT_MODIFICATION "DISPLAY=unset:;WAYLAND_DISPLAY=unset:")
