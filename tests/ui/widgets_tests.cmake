# Headless tests of the rectangles, registry, fonts, texts, frames, clocks,
# particles and polygon drawing, through the draw recorder.
quill_add_tests(test_ui_widgets
  ${CMAKE_CURRENT_LIST_DIR}/test_dim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_spark.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_comet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_container.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_poly_draw.cpp)
target_link_libraries(test_ui_widgets PRIVATE quill_ui)

# A frame and bitmap-font text on the real device (SDL's offscreen driver),
# saved as test-output/ui_widgets.png for a person to look at. Its own main:
# the shared one selects the headless backend.
add_executable(test_ui_display ${CMAKE_CURRENT_LIST_DIR}/test_ui_display.cpp)
target_link_libraries(test_ui_display PRIVATE quill_ui GTest::gtest)
target_include_directories(test_ui_display PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(test_ui_display PRIVATE QUILL_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output")
add_test(NAME ui_display COMMAND test_ui_display)
set_tests_properties(ui_display PROPERTIES TIMEOUT ${QUILL_TEST_TIMEOUT}
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;QUILL_NOTIFY_STDERR=1;ASAN_OPTIONS=detect_leaks=0")
