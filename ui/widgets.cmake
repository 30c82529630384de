# Rectangles, colours, the registry, bitmap fonts, texts, frames, clocks,
# particles and the textured-polygon drawing.
target_sources(quill_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/comet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/container.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/poly_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spark.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp)
target_include_directories(quill_ui PUBLIC ${CMAKE_SOURCE_DIR})
