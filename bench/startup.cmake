# The whole start-up, headless, to the first title frame.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_startup.cpp)
target_link_libraries(quill_bench PRIVATE quill_main)
target_compile_definitions(quill_bench PRIVATE QUILL_BENCH_GAME_DIR="${QUILL_GAME_DIR}")
