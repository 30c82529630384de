# Helpers shared by the tests and the benchmarks: encoders that make Ogg Vorbis
# and JPEG inputs from synthesised signals and pictures. Included by both
# tests/ and bench/, whichever comes first defines it.
if(NOT TARGET quill_test_support)
  add_library(quill_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ogg_encode.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_encode.cpp)
  target_link_libraries(quill_test_support PRIVATE PkgConfig::VORBIS JPEG::JPEG)
endif()
