# Buttons and menus: the button base, strip and image buttons, the menus, and
# the rectangle-hit family with its plain and radio menus.
target_sources(quill_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_rect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_strip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu_rect.cpp)
