# Points, captions, magic spheres, the level timer and the bosses: part of the
# play library, since the board calls them directly.
target_sources(quill_play PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/points.cpp
  ${CMAKE_CURRENT_LIST_DIR}/captions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spheres.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bosses.cpp)
