# What a screen reader finds through AT-SPI (Spanish at 1x, English at 2x),
# and every command driven with the keyboard alone.
add_test(NAME e2e_accessibility_es COMMAND ${CMAKE_CURRENT_LIST_DIR}/accessibility.sh ${CMAKE_BINARY_DIR} Español)
add_test(NAME e2e_accessibility_en COMMAND ${CMAKE_CURRENT_LIST_DIR}/accessibility.sh ${CMAKE_BINARY_DIR} English)
set_tests_properties(e2e_accessibility_en PROPERTIES ENVIRONMENT "QT_SCALE_FACTOR=2")
add_test(NAME e2e_keyboard COMMAND ${CMAKE_CURRENT_LIST_DIR}/keyboard.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_accessibility_es e2e_accessibility_en e2e_keyboard PROPERTIES TIMEOUT 120 RUN_SERIAL ON)
