# Base area: process life, clock, random numbers, angles, text, streams, banks,
# files.
add_library(quill_platform_base STATIC
  ${CMAKE_CURRENT_LIST_DIR}/angles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/backend_base.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bank.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rng.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/time.cpp)
target_include_directories(quill_platform_base PUBLIC ${CMAKE_SOURCE_DIR})
# SDL only for the message box; the game never sees SDL headers.
target_link_libraries(quill_platform_base PRIVATE SDL2::SDL2 PUBLIC Threads::Threads)
