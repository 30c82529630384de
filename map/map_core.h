// The quest map: the screen shown after every won quest level. It marks the
// levels played, the level to come and its stage, and tells the main loop
// whether to play on or go back to the main menu.
//
// Life of the one map (the global `map`):
//   start-up makes it empty, the loading screen calls Load once (after the
//   bitmap fonts exist); the main loop calls Show(level just played) after
//   each won quest level: 1 back to the main menu, 0 play on.
//
// Sections: the record · loading and the map file (map_core.cpp) · the
// screen (map_screen.cpp) · the layout editor (map_editor.cpp).
//
// The map file "map.tsc" (member of data/settings.bca):
//   Levels { <any name> { Number Stage Kind X Y } ... }   one marker each
//   Stages { <any name> { Number Image X Y } ... }        one picture each
// Entries are kept in file order, each read from its own keys whatever its
// name; a marker of a kind outside 1..5 is not shown but kept for the layout
// editor to write back; numbers are truncated toward zero.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "config/tsc_file.h"
#include "core/music.h"
#include "map/map_markers.h"
#include "platform/image.h"
#include "platform/list.h"
#include "ui/menu.h"
#include "ui/text.h"

class TMapCore {
public:
    plat::ImagePtr background;                  // "gfx/mapa/mapa.jpg" at 0, 0
    std::array<plat::ImagePtr, 2> titleImages;  // the words "level" and "of"
    std::array<int32_t, 2> titlePositions{};    // their x, laid out by Show
    // Row kind - 1; column 0 the normal picture, column 1 the done picture.
    // Kinds 2 and 4 hold kind 1's very pictures.
    std::array<std::array<plat::ImagePtr, 2>, 5> markerImages;
    // The pulsing highlights; markers draw entry 1 (kinds 1..4) and entry 2
    // (kind 5). Entry 0 is loaded but drawn by nobody.
    std::array<plat::ImagePtr, 3> highlightImages;
    std::shared_ptr<plat::TList<TMapLevelPtr>> levels = plat::CreateList<TMapLevelPtr>();
    std::shared_ptr<plat::TList<TMapStagePtr>> stages = plat::CreateList<TMapStagePtr>();
    // Markers of a kind the map has no pictures for: never shown, written
    // back by the layout editor after the others.
    std::shared_ptr<plat::TList<TMapLevelPtr>> unknownKinds = plat::CreateList<TMapLevelPtr>();
    int32_t currentLevel = 0;  // the level to be played next
    int32_t currentStage = 0;  // its stage; kept when no marker has that number
    TAudioStreamPtr musicStream;
    std::array<TTextPtr, 2> labels;  // the next level's number, the quest's last level number
    TMenuPtr menu = std::make_shared<TMenu>();  // id 1 main menu, id 2 play on
    float fadeAlpha = 1.0f;
    int32_t fadeState = 0;  // 1 fading in, 0 waiting for a click, -1 fading out
    int32_t result = 0;     // what Show returns: 1 main menu, 0 play on
    int32_t fadeStart = 0;  // MilliSecs when the current fade began
    int32_t fadedOut = 0;
    // Turns the layout editor on. The game never sets it; a developer does,
    // to place the markers on new map art.
    int32_t editMode = 0;

    static constexpr const char* kArchive = "data/settings.bca";
    static constexpr const char* kMember = "map.tsc";
    // Where the layout editor writes; the game never reads this file.
    static constexpr const char* kEditorFile = "data/map.tsc";
    static constexpr const char* kSong = "sfx/velmora-map.ogg";
    static constexpr int kMenuButton = 1;
    static constexpr int kPlayButton = 2;
    static constexpr float kRowCentre = 392.0f;
    static constexpr float kRowGap = 7.0f;
    static constexpr int kTitleY = 572;
    static constexpr int kLabelY = 564;
    static constexpr float kFadeMs = 250.0f;

    virtual ~TMapCore() = default;

    // ---- loading (map_core.cpp) ----
    // Pictures, labels, buttons and the map file. A map file entry without
    // one of its number keys cannot be placed: a message box names the file
    // and the key, and the program ends in order (End).
    virtual int Load();
    // The pictures, labels and buttons only.
    int LoadPictures();
    // Adds the markers and stage pictures of a map file already read. Stops
    // at the first entry that lacks a number key, with that key's text
    // ("The key Levels::Level3::Kind does not exist") in missingKey; the
    // entries before it stay added. A stage without "Image" is added
    // without a picture.
    int ReadLayout(const TTSCFilePtr& file, std::string& missingKey);
    // A marker for kinds 1..5 with the kind's pictures; one of another kind
    // goes to unknownKinds.
    virtual int AddLevel(int32_t number, int32_t stage, int32_t kind, int32_t x, int32_t y);
    virtual int AddStage(int32_t number, const std::string& imageName, int32_t x, int32_t y);

    // ---- the screen (map_screen.cpp) ----
    // Runs the map until a click has faded it out: 1 the main menu button, 0
    // the play button or anywhere else. A level below 0 returns 0 at once.
    // A close request stops the map song and ends the program (End).
    virtual int Show(int32_t levelIndex);
    // One whole frame from the fields as they stand, presented with Flip.
    virtual int Draw();
    // The frame without presenting it.
    int DrawFrame();
    // Show's set-up: the current level and stage, the fade, the song, the
    // title row.
    int Begin(int32_t levelIndex);
    // The fades and the click handling of one frame, after it was drawn.
    // 1 once the fade-out has run out (the song is then stopped).
    int Update();
    // Lays the title row out around x 392 from the labels' texts.
    int LayOutTitleRow();

    // ---- the layout editor (map_editor.cpp) ----
    // One step, at the end of a frame: arrows move the current marker (Left
    // Shift: whole pixels) or, with Left Control, its stage picture (with
    // Left Shift too: a pixel every frame held; alone: a pixel per press);
    // K changes the marker's kind, 1 and 2 step through the levels, S writes
    // kEditorFile.
    int EditStep();
    // The whole layout in the map file's format, written to path.
    int WriteLayout(const std::string& path);
    // The configuration WriteLayout saves.
    TTSCFilePtr LayoutFile();

private:
    int Leave(int32_t value);
};
using TMapCorePtr = std::shared_ptr<TMapCore>;

extern TMapCorePtr map;
