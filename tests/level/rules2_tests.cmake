# Points, captions, magic spheres, the level timer and the bosses.
quill_add_tests(test_level_rules
  ${CMAKE_CURRENT_LIST_DIR}/test_points.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_captions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_spheres.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_bosses.cpp)
target_link_libraries(test_level_rules PRIVATE quill_play JPEG::JPEG)
