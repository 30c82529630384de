# Pictures in memory: the six pixel formats, windows, scaling, and the PNG and
# JPEG codecs.
add_library(quill_platform_pixmap STATIC
  ${CMAKE_CURRENT_LIST_DIR}/pixmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixmap_ahead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_io.cpp)
target_include_directories(quill_platform_pixmap PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quill_platform_pixmap
  PUBLIC quill_platform_base
  PRIVATE PNG::PNG JPEG::JPEG ZLIB::ZLIB)
