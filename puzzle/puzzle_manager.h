// The picture puzzle as a whole, the global `puzzle`: the current puzzle's
// settings (from its level file, or set by the gallery), its grid of pieces,
// the counters of the running game, and the pictures and sound its screens
// share. It is played as a quest level (`show` with free play 0) and from
// the gallery (free play 1).
//
// Index: TPuzzleManager (settings and counters; level and resources;
//        screens; steps for tests) · the global
#pragma once
#include <deque>
#include <memory>
#include <string>

#include "core/music.h"
#include "modes/popup.h"
#include "platform/audio.h"
#include "platform/font.h"
#include "platform/image.h"
#include "puzzle/hints.h"
#include "puzzle/puzzle_grid.h"

class TPuzzleManager {
public:
    static constexpr const char* kArchive = "data/puzzle_levels.bca";
    static constexpr const char* kDefaultPicture = "gfx/slides/1-2a.jpg";
    static constexpr const char* kBackground = "gfx/puzzle/game-puzle.jpg";
    static constexpr const char* kFirstLevel = "puzzle-01.tsc";
    static constexpr const char* kPopupMember = "infoPZ.tsc";
    // The play area the pieces tile.
    static constexpr int kAreaX = 65, kAreaY = 53, kAreaWidth = 670, kAreaHeight = 494;
    // The puzzle exit codes of the play loop.
    enum Exit : int { kPlaying = 0, kEndProgram = 1, kSkipped = 2, kToMenu = 3 };
    // The pause menu: page 8 of the menu window, and its answers.
    static constexpr int kMenuPage = 8, kOptionsPage = 7, kMenuX = 229, kMenuY = 200;
    enum MenuAction : int { kResume = 20, kOptions = 22, kMainMenu = 23, kQuitGame = 24 };

    std::shared_ptr<TPuzzleGrid> grid = std::make_shared<TPuzzleGrid>();
    std::string image;  // the level's picture; "" the default picture
    int width = 0;      // columns
    int height = 0;     // rows
    std::string music;
    TAudioStreamPtr musicStream;
    plat::SoundPtr countSound;
    int hintsUsed = 0;
    plat::ImagePtr menuHover;
    plat::ImagePtr hintHover;
    int startTime = 0;  // MilliSecs when the running puzzle started
    int clicks = 0;
    int hintA = 0;
    int hintB = 0;
    plat::ImagePtr completeImage;
    std::deque<TPopupPtr> introPopups;
    // Pieces the last LoadPuzzles put back on saved slots: a resume goes on
    // only when every piece was.
    int restoredPieces = 0;

    // The values of the running (or last) tally.
    struct Tally {
        int piecesLeft = 0;
        int hintsLeft = 0;
        int shownPoints = 0;
        int endTime = 0;   // the clock when the tally began: the time row stands still
        int stepTime = 0;  // the clock of the current phase
        int opening = 0;   // half the open height of the scroll, 0 to 155
        float rollerAlpha = 0;
        int phase = 0;     // 0 to 7, 9, 10
    } tally;

    // ---- level and resources ----
    // Reads the level file of the puzzle archive; the intro popups too for
    // the first puzzle level. Never fails: a missing number is reported and
    // a safe value used, sizes are brought within the grid's limits.
    int Load(const std::string& fileName);
    // Fills the grid with the picture cut into columns x rows pieces at home
    // (sizes within the grid's limits; a picture that does not load gives a
    // plain one).
    int Create(const std::string& imagePath, int columns, int rows);
    int loadGfx();

    // ---- screens ----
    // Plays one puzzle. Resumes the saved puzzle when readFromProfile is set
    // (the resume argument is not consulted). imageName "" is the level's
    // picture. 0 solved (in the quest: a won level, points banked) or
    // skipped; 1 left for the menu (in the quest the puzzle is saved). Ends
    // the program on a close request.
    int show(int resume, const std::string& imageName, int freePlay);
    // The opening fade of a quest puzzle.
    int Begin(const plat::ImagePtr& background, int resume);
    // The completion picture and the fade to black; 1 on a close request.
    int Finish(const plat::ImagePtr& background);
    // The tally; 1 on a close request.
    int summary(const plat::ImagePtr& background, const plat::FontPtr& fontA, const plat::FontPtr& fontB,
                int freePlay);
    // The pause menu: 0 resume, 1 end the program, 3 leave for the menu.
    int ShowInGameMenuPuzzle(const plat::ImagePtr& background, THints& hints);

    // ---- pieces of the above, for the profile's save and for tests ----
    // Puts piece k (list position) on a saved slot.
    void RestorePiece(int k, int slot);
    // The play loop's set-up up to its first frame, and one frame of each
    // phase. The frame gives the exit code set in it.
    struct Play {
        plat::ImagePtr background;
        plat::FontPtr fontA, fontB;
        THints hints;
        int freePlay = 0;
        int exitCode = kPlaying;
        int menuOver = 0, hintOver = 0;
    };
    void StartPlay(Play& play, const std::string& imageName);
    void PopupFrame(Play& play);
    void PlayFrame(Play& play);
    // The play frame's drawing over the background, up to the cursor.
    void DrawPlay(Play& play);
    // After the loop: tally, completion picture, save, clean-up; the result.
    int EndPlay(Play& play);
    // One frame of the tally's phases, with the left-button hit of the frame.
    void TallyPhases(int click);
    // The tally's frame, up to the cursor.
    void DrawTally(const plat::ImagePtr& background, const plat::FontPtr& fontA, const plat::FontPtr& fontB);
    // Ends the program from a puzzle screen; a quest puzzle already won
    // stays won (game state 2), so Continue does not play it again.
    [[noreturn]] void EndProgram(int won);
};
using TPuzzleManagerPtr = std::shared_ptr<TPuzzleManager>;

extern TPuzzleManagerPtr puzzle;
