// The quest board level's hint popups and the game-over panel: the global
// `popupManager`. The quest loop posts popup events; `check` shows the
// popups due for them, each as a modal loop over the frozen play scene. Its
// OK button and font also serve the puzzle's and the ring game's popups.
//
// Index: TPopupManager (assets; popups and events; modal steps and their
//        frames) · the global · the link to the level sequence
#pragma once
#include <array>
#include <memory>
#include <string>
#include "config/tsc_file.h"
#include "modes/popup.h"
#include "platform/audio.h"
#include "platform/font.h"
#include "platform/image.h"
#include "platform/list.h"
#include "ui/button_image.h"
#include "ui/button_strip.h"

class TPopupManager {
public:
    static constexpr const char* kMember = "info.tsc";

    std::shared_ptr<plat::TList<TPopupPtr>> popups = plat::CreateList<TPopupPtr>();
    std::shared_ptr<plat::TList<std::string>> events = plat::CreateList<std::string>();
    TAnimButtonPtr okButton;
    TImageButtonPtr retryButton;
    TImageButtonPtr menuButton;
    plat::ImagePtr gameOverPanel;
    plat::FontPtr font;
    std::array<plat::ImagePtr, 2> gameOverCaptions{};  // no more moves, out of time
    plat::SoundPtr gameOverSound;

    int Load();
    // The popups of the sequencer's current level from "info.tsc".
    int Prepare();
    // The same from a popup file already in memory, for a given level.
    int PrepareFrom(const TTSCFilePtr& file, int levelNumber);
    // Shows the popups due for the posted events; 1 when the program was
    // asked to close during one (the caller ends the game), else 0.
    int check();
    int AddEvent(const std::string& name);
    int Free();
    // Renews the frame delta and draws the frozen play scene.
    int DrawBase();
    // The modal loop of one popup: 1 on a close request, 0 once it closed.
    int ShowPopup(const TPopupPtr& popup);
    // The modal game-over panel: 1 retry, 2 back to the menu, 3 close request.
    int GameOverPopup();

    // ---- single frames of the modal steps, for the loops and for tests ----------
    // One frame of a shown popup: 1 once it has closed (nothing more drawn).
    int PopupFrame(const TPopupPtr& popup);
    // Its drawing, up to the flip; 1 once it has closed.
    int DrawPopup(const TPopupPtr& popup);
    // The caption a game over shows: out of time, or no more moves.
    plat::ImagePtr GameOverCaption() const;
    // One frame of the panel's zoom at scale z.
    int GameOverZoomFrame(float z, const plat::ImagePtr& caption);
    // The panel's button tests (1, 2, 3 as GameOverPopup; 0 none), then one frame.
    int GameOverPanelFrame(const plat::ImagePtr& caption);
};

extern std::shared_ptr<TPopupManager> popupManager;

// Lets the quest's level set-up prepare the level's popups (levelLinks.preparePopups),
// the one entry the play loops fill. The global is read when the link is
// used; with no popup manager made yet no popup is prepared.
void InstallModeLinks();
