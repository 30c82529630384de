# Sounds: whole-file Ogg Vorbis decoding (also ahead, on a thread of its
# own), the software mixer and the audio device (opened lazily; the game runs
# silent without one).
add_library(quill_platform_audio STATIC
  ${CMAKE_CURRENT_LIST_DIR}/audio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ogg_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_ahead.cpp)
target_include_directories(quill_platform_audio PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quill_platform_audio
  PUBLIC quill_platform_base
  PRIVATE SDL2::SDL2 PkgConfig::VORBIS Threads::Threads)
