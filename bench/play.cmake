# A frame of play headless (median and worst), a level frame on the real
# OpenGL device, and the peak memory of a scripted run.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_play.cpp)
target_link_libraries(quill_bench PRIVATE quill_main)
