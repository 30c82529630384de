# Configuration reading speed and the packer's compression ratio.
target_sources(quill_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_config.cpp)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/bench_config.cpp PROPERTIES
  COMPILE_DEFINITIONS "QUILL_ASSETS_DIR=\"${CMAKE_SOURCE_DIR}/assets\"")
