# Ogg decode speed relative to real time; the encoder makes the input.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_audio.cpp)
