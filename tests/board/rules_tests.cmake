# The board's rules of play and drawing.
quill_add_tests(test_board_rules ${CMAKE_CURRENT_LIST_DIR}/test_board_rules.cpp)
target_link_libraries(test_board_rules PRIVATE quill_play JPEG::JPEG)
