// The ring memory game, the global `ringGame`: twenty rune slips stand in
// four columns around a magic ring, the ring's centre ball shows the rune to
// click next, and the player clicks the shown runes in turn against a time
// per rune and the level's clock. Each finished sequence may win a spell
// that later board levels put on their board (through the profile).
//
// Index: TPapier · TRingSpell · TRingGame (level and state; spells; saved
//        state; rules; drawing; play loop and menu; tally; steps for tests)
//        · the global
#pragma once
#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/music.h"
#include "core/saved_numbers.h"
#include "modes/popup.h"
#include "platform/audio.h"
#include "platform/image.h"
#include "ui/button_image.h"

// One rune slip; slip i carries rune i.
class TPapier {
public:
    float x = 0.0f;  // centre
    int y = 0;
    float speed = 0.0f;  // pixels a frame of its slide-in, positive to the right
    int delay = 0;       // frames left before it starts to slow down
};

// The counter of one spell kind on the ring: its animated icon shows from
// the first spell of that kind won in the game on.
class TRingSpell;
using TRingSpellPtr = std::shared_ptr<TRingSpell>;

class TRingSpell {
public:
    float radius = 0.0f;  // from the ring's centre at scale 1; negative: the opposite side
    float angle = 0.0f;   // degrees, before the ring's own turn
    int kind = 0;         // 1 to 6
    int frame = 0;        // fading out
    int nextFrame = 1;    // fading in
    float frameAlpha = 1.0f;
    float nextFrameAlpha = 0.0f;
    int count = 0;  // spells of this kind won in the current game
    std::array<plat::ImagePtr, 5> frames{};

    // Frames folder + "/" + names[i]; a frame that cannot be read stays
    // empty and draws nothing.
    static TRingSpellPtr Create(float radius, float angle, int kind, const std::string& folder,
                                const std::array<std::string, 5>& names);
    // The icon's centre for a ring at (x, y) with that scale and turn.
    void IconPosition(int x, int y, float scale, float ringAngle, int& ix, int& iy) const;
    int Draw(int x, int y, float scale, float ringAngle, float alpha);
    int MakeSparks(int x, int y, float scale, float ringAngle);
};

class TRingGame {
public:
    static constexpr const char* kArchive = "data/ring_levels.bca";
    static constexpr const char* kPopupMember = "infoRG.tsc";
    static constexpr int kRunes = 20;
    static constexpr int kSpells = 6;
    // The most spells of one kind a game can award; a profile claiming more
    // is damaged, and reads as this many.
    static constexpr int kMaxSpellsPerGame = kMaxSavedRingSpells;
    // The time a level may give for each rune after the first, in ms: none
    // at all would let no sequence of two runes be finished.
    static constexpr int kMinRuneTime = 500, kMaxRuneTime = 600000;
    // The states of the ring: the intro's stages, play, and time up.
    enum RingState : int { kBeforeFirstGame = 0, kRingIn = 1, kRingSlows = 2, kRingSettles = 3, kSlipsIn = 4,
                           kPendulumDown = 5, kPlay = 6, kTimeUp = 7 };
    // The play loop's exit codes.
    enum Exit : int { kPlaying = 0, kGameOver = 1, kToMenu = 2, kQuit = 3 };
    // The pause menu: page 8 of the menu window, its answers, and page 7.
    static constexpr int kMenuPage = 8, kOptionsPage = 7, kMenuX = 229, kMenuY = 200;
    enum MenuAction : int { kResume = 20, kOptions = 22, kMainMenu = 23, kQuitGame = 24 };
    // The sounds, by index.
    enum Sound : int { kWrongRune = 0, kSpellWon = 1, kRightRune = 2, kRuneTimeOut = 3, kRuneEntered = 4,
                       kGameStart = 5, kTallyOut = 6, kTallyShow = 7 };

    plat::ImagePtr backgroundImage;
    plat::ImagePtr ringImage;
    plat::ImagePtr pendulumImage;
    plat::ImagePtr tileImage;
    plat::ImagePtr highlightImage;
    plat::ImagePtr tileRazod;  // 20 frames of 32 x 64
    plat::ImagePtr ballRazod;  // 20 frames of 64 x 64
    plat::ImagePtr barImage;
    TImageButtonPtr menuButton;
    TAudioStreamPtr music;
    std::array<plat::SoundPtr, 8> sounds{};
    std::string musicName;
    float ringScale = 0.0f;
    float ringAngle = 0.0f;
    float ringSpin = 0.0f;
    float ringAlpha = 0.0f;
    float ballAlpha = 0.0f;
    float ballScale = 0.0f;
    float pendulumY = 0.0f;
    float pendulumAngle = 0.0f;
    int pendulumAmplitude = 0;
    float pendulumClock = 0.0f;
    // Clock instants are whole milliseconds: a float would lose them once
    // the clock has run a few hours.
    int startTime = 0;  // when the game clock started
    float Time = 0.0f;  // how long a game lasts, ms
    std::array<int, kRunes> sequence{};
    int sequenceLast = 0;
    int hits = 0;
    int position = 0;
    int levelSequenceLast = 0;
    int hoverRune = 0;
    int RuneTime = 0;   // ms allowed per rune
    int runeClock = 0;  // when the last rune event happened
    std::vector<std::string> AvailableSpells;
    int received = 0;
    std::array<TPapier, kRunes> tiles{};
    std::array<TRingSpellPtr, kSpells> spells{};
    float progress = 0.0f;
    int completedAt = 0;  // when the last sequence was completed; -1 none pending
    int ringState = kBeforeFirstGame;
    std::deque<TPopupPtr> popups;

    // ---- level and state ----
    // Reads the ring level file and the level's intro popups. Never fails:
    // a missing number is reported and a safe value used, and the sequence
    // length is brought within 1 to 20.
    int Load(const std::string& fileName);
    int createSequence(int last);
    int resetParams();

    // ---- spells ----
    int AddSpell();
    int CopySpells();

    // ---- saved state ----
    int SaveToProfile();
    int LoadFromProfile();

    // ---- rules ----
    int Update();
    int checkRows();
    static int checkBox(int mx, int my, int x, int y, int w, int h);
    int resetRune();
    int updateSequence();
    int UpdateInfo();

    // ---- drawing ----
    int loadGfx();
    int Draw(int hideCursor);

    // ---- play loop and menu ----
    // Plays one ring level: 1 when the player left for the main menu, 0
    // after the tally (a won level). Ends the program on a close request.
    int Play(int resume);
    // 0 go on playing, 2 main menu, 3 end the program.
    int ShowInGameMenuRG();

    // ---- tally ----
    // 0 run to its end, 1 the program was asked to close (points banked).
    int Summary();

    // ---- steps of the loops above, for tests ----
    // Play's preparation, one frame of its loop (the exit code of the frame)
    // and what follows the loop (Play's result; ends the program for code 3
    // and for a close request during the tally).
    void StartPlay(int resume);
    int PlayFrame();
    int EndPlay(int code);
    // The pause menu: opening notes the clocks, each frame gives its
    // result (-1 while it stays open), closing shifts the clocks.
    struct Menu {
        int gameElapsed = 0;
        int runeElapsed = 0;
        int result = kPlaying;
    };
    void OpenMenu(Menu& menu);
    int MenuFrame(Menu& menu);
    int CloseMenu(Menu& menu);
    // The tally: its locals, its entry, one frame (1 once it has ended, 2 on
    // a close request) and its drawing.
    struct Tally {
        int tallyState = 0;
        int stageClock = 0;
        int scrollOpen = 0;
        float textAlpha = 0.0f;
        float sceneAlpha = 1.0f;
        int bonusHits = 0;
        int shownTotal = 0;
    } tally;
    void StartSummary();
    // The stage step with the frame's click; 1 when the tally has ended.
    int SummaryStep(int click);
    void DrawSummary();
    int SummaryFrame();
    // The tally's spells row, and the width its lines of spell names keep
    // to (from the captions' x 300 to the scroll's right edge).
    static constexpr int kSpellsRowY = 232;
    static constexpr int kSpellNamesWidth = 258;
    // Each kind won, by name with its count ("Bomb 2, Heal 1"), broken into
    // lines no wider than width in the font in force.
    std::vector<std::string> WonSpellLines(int width) const;
};
using TRingGamePtr = std::shared_ptr<TRingGame>;

// Made once by start-up and reused by every ring level.
extern TRingGamePtr ringGame;

// The sequence length a level file may ask for, brought within 1 to 20.
int ClampSequenceLength(int length);
