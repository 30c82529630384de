# TrueType image fonts, part of the gfx area (included by gfx.cmake).
target_sources(quill_platform_gfx PRIVATE ${CMAKE_CURRENT_LIST_DIR}/font.cpp)
target_link_libraries(quill_platform_gfx PRIVATE Freetype::Freetype)
