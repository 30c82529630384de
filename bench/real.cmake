# The game run whole in processes of its own: start-up beyond its fades, the
# idle title's pacing and CPU, and the peak memory of every voice and song.
add_executable(quill_bench_run ${CMAKE_CURRENT_LIST_DIR}/quest_run.cpp)
target_link_libraries(quill_bench_run PRIVATE quill_main)
target_include_directories(quill_bench_run PRIVATE ${CMAKE_SOURCE_DIR})
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_real.cpp)
add_dependencies(quill_bench quill_bench_run)
target_compile_definitions(quill_bench PRIVATE QUILL_BENCH_RUN="$<TARGET_FILE:quill_bench_run>")
