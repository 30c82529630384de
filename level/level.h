// The board level being played: its file, goal, background, song and
// statistics (TLevelManager, the global `level`), and the end-of-level tally
// that the same object carries.
//
// Index: TLevelError · TLevelManager (level file and goal; music; statistics;
//        tally state; tally operations) · the global
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>
#include "config/tsc_file.h"
#include "core/music.h"
#include "core/saved_numbers.h"
#include "platform/audio.h"
#include "platform/image.h"

// A level file that cannot be played: a missing required key (the
// configuration's missing-key error, passed on as it is), lists from which
// no block can be dealt, or a board without a cell. Raised by TLevelManager::Load; TryLoad and the
// sequencer's setupLevel turn it into a message box and a failure result.
class TLevelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLevelManager {
public:
    // ---- the level file and what it says about the level ---------------------------
    int32_t levelNumber = 0;
    std::string fileName;       // member of "data/razod_levels.bca"
    TTSCFilePtr levelFile;      // only while Load runs
    plat::ImagePtr backgroundImage;
    std::string backgroundName;
    std::string loadedBackgroundName;
    TAudioStreamPtr music;
    std::string songName;

    // ---- the tally's pictures, music and state --------------------------------------
    plat::ImagePtr newBestImage;
    std::array<std::array<plat::ImagePtr, 6>, 2> doorImages{};  // [side][piece]
    plat::ImagePtr centreGlowImage;
    TAudioStreamPtr summaryMusic;
    float doorsOffset = 0.0f;
    float fadeAlpha = 0.0f;
    float panelAlpha = 0.0f;
    float centreGlowAlpha = 0.0f;
    float panelSlide = 0.0f;
    int32_t stageTime = 0;
    int32_t summaryDone = 0;
    int32_t scanX = 0;
    int32_t scanY = 0;
    int32_t summaryFrame = 0;
    int32_t summaryStage = 0;
    int32_t newBestTimer = 0;
    int32_t musicFadeEnd = 0;
    plat::ChannelPtr countLoopChannel;
    plat::SoundPtr countLoopSound;
    plat::SoundPtr countEndSound;
    plat::SoundPtr panelOutSound;
    plat::SoundPtr panelShowSound;
    plat::SoundPtr tickSound;
    plat::SoundPtr endMusicSound;
    plat::ChannelPtr endMusicChannel;
    int32_t tickCount = 0;
    std::array<plat::ImagePtr, 2> glowImages{};
    float pulse = 0.0f;
    int32_t pulseRising = 0;
    int32_t bonusPoints = 0;

    // ---- statistics ----------------------------------------------------------------
    int32_t spellsReceived = 0;
    int32_t spellsCast = 0;
    int32_t blocksUsed = 0;
    int32_t totalShown = 0;  // the tally's shown total
    int32_t matches = 0;
    int32_t combos = 0;
    int32_t difficulty = 2;

    // ---- settings ------------------------------------------------------------------
    std::vector<std::string> availableSpells;
    int32_t copySpellsFromRing = 0;
    int32_t goalType = 0;  // 1 spheres, 2 board cleared, 3 bosses beaten
    std::array<int32_t, 2> summaryAnchor{};
    int32_t sparkFrame = 0;

    // ---- level (level.cpp) ---------------------------------------------------------
    int Set(const std::string& name);
    int up();
    // Reads the level file and hands it to the blocks, the board, the
    // spheres, the timer and the bosses. Raises TLevelError (or the
    // configuration's TSCError) for a level that cannot be played; callers
    // that are not tests use TryLoad.
    int Load(int fixedGoal);
    // Load, with a failure shown in a message box naming the level file and
    // the key or list at fault: 1 loaded, 0 not.
    int TryLoad(int fixedGoal);
    int playLvlMusic();
    int pauseMusic();
    int continueMusic();
    int stopAndFreeMusic();
    int finish();
    int Draw();
    int loadGfx();
    int isGoalAchieved();
    int doShortSummary();
    int ResetStats();

    // ---- the tally (summary.cpp) ---------------------------------------------------
    int loadSfx();
    int BigBoom();
    int startSummary();
    int updateSummary();

    // ---- the tally's drawing (summary_draw.cpp) ------------------------------------
    int summaryDisplay();
    int summaryDisplayET(int seconds, int usedBlocks, int bestResult);
    int drawDoors(int offset);
    void drawSummaryBack();
    void drawSummaryGlows();

    // Board statistics raised by the board's rules.
    void countBlockUsed() { blocksUsed = SatAdd(blocksUsed, 1); }
    void countMatch(int colours) {
        matches = SatAdd(matches, 1);
        if (colours > 1) combos = SatAdd(combos, 1);
    }

private:
    // Moves the scan to the next free board cell after the one under it;
    // false once it has passed the last cell (scanX 0, scanY 15).
    bool _advanceScan();
    bool _scanOnFreeCell() const;
    void _countStep(int now);
    void _endCounting(int now);
    void _drawScroll(const std::array<std::string, 6>& captions, const std::array<std::string, 6>& values);
};

extern std::shared_ptr<TLevelManager> level;
