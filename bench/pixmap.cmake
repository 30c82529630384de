# PNG and JPEG decode speed; the test JPEG encoder makes the JPEG input.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_pixmap.cpp)
target_link_libraries(quill_bench PRIVATE quill_platform_pixmap)
