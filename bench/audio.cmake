# Ogg decode speed relative to real time; the encoder makes the input.
target_sources(quill_bench PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bench_audio.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform/audio/ogg_encode.cpp)
target_include_directories(quill_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform/audio)
target_link_libraries(quill_bench PRIVATE PkgConfig::VORBIS)
