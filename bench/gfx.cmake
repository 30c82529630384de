# CPU time of 1000 DrawImage calls: the recorder, and real OpenGL on SDL's
# offscreen driver.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_gfx.cpp)
target_link_libraries(quill_bench PRIVATE quill_platform_gfx)
