# The board's share of one play frame, and the game-over search alone.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_board.cpp)
