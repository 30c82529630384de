# Headless tests of the buttons and menus: pointer scripts frame by frame,
# read back through the draw recorder.
quill_add_tests(test_ui_buttons
  ${CMAKE_CURRENT_LIST_DIR}/test_buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_buttons_rect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_menus.cpp)
target_link_libraries(test_ui_buttons PRIVATE quill_ui)
target_include_directories(test_ui_buttons PRIVATE ${CMAKE_CURRENT_LIST_DIR})
