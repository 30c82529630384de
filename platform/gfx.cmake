# Display, 2D drawing, images, input and the headless recorder; the fonts join
# this library from font.cmake.
add_library(quill_platform_gfx STATIC
  ${CMAKE_CURRENT_LIST_DIR}/graphics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/testing_gfx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gl_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/headless_backend.cpp)
target_include_directories(quill_platform_gfx PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quill_platform_gfx
  PUBLIC quill_platform_base quill_platform_pixmap quill_platform_audio
  PRIVATE SDL2::SDL2 OpenGL::GL)
include(${CMAKE_CURRENT_LIST_DIR}/font.cmake)
