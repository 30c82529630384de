# The board's rules of play and its drawing, part of the play library.
target_sources(quill_play PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/board_place.cpp
  ${CMAKE_CURRENT_LIST_DIR}/board_match.cpp
  ${CMAKE_CURRENT_LIST_DIR}/board_petrify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/board_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/board_frame_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stones.cpp)
