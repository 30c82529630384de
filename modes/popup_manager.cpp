#include "modes/popup_manager.h"

#include "board/board.h"
#include "config/bca.h"
#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "level/level_links.h"
#include "level/sequencer.h"
#include "level/timer.h"
#include "modes/scene.h"
#include "pieces/blocks.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ui/dim.h"

std::shared_ptr<TPopupManager> popupManager;

void InstallModeLinks() {
    levelLinks.preparePopups = [] { popupManager->Prepare(); };
}

// ---- assets ------------------------------------------------------------------------------

int TPopupManager::Load() {
    okButton = CreateAnimButton(std::string("gfx/info/ok.png"), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 1, 2, 1, 0, 1.0f, -1);
    retryButton = CreateImageButton(std::string("gfx/gui/lose3_03.png"), CreateDim(318, 302, 0, 0, 0, 1, 1, 0), 1,
                                    1.0f, 0);
    menuButton = CreateImageButton(std::string("gfx/gui/lose3_05.png"), CreateDim(318, 357, 0, 0, 0, 1, 1, 0), 2,
                                   1.0f, 0);
    gameOverPanel = plat::LoadImage("gfx/gui/lose3.png", -1);
    plat::MidHandleImage(gameOverPanel);
    font = plat::LoadImageFont("gfx/fonts/QueenEmpress.ttf", 16, 4);
    gameOverCaptions[0] = plat::LoadImage("gfx/gui/no-more-movies.png", -1);
    gameOverCaptions[1] = plat::LoadImage("gfx/gui/time_out.png", -1);
    gameOverSound = plat::LoadSound("sfx/fx/playgame-nomoves-timesup.ogg", 0);
    return 0;
}

// ---- popups and events ---------------------------------------------------------------------

int TPopupManager::Prepare() {
    Free();
    TTSCFilePtr file = CreateTSCFile();
    LoadTSCFileBB(file, TPopup::kArchive, kMember);
    return PrepareFrom(file, sequencer->currentLevel);
}

int TPopupManager::PrepareFrom(const TTSCFilePtr& file, int levelNumber) {
    Free();
    const auto groups = GetTSCGroupList(file, "");
    if (!groups) return 0;
    for (const TTSCGroupPtr& group : *groups) {
        // A hint is never worth a game: a group without its level number is
        // skipped like any other popup that cannot be shown.
        float number = 0.0f;
        try {
            number = GetTSCNumberKey(file, group->KeyPath(), "Level", 0);
        } catch (const TSCError& e) {
            plat::Print("Popup " + group->KeyPath() + ": " + e.Text() + "; popup skipped");
            continue;
        }
        if (number != static_cast<float>(levelNumber)) continue;
        if (TPopupPtr p = TPopup::Create(file, group)) popups->AddLast(p);
    }
    return 0;
}

int TPopupManager::AddEvent(const std::string& name) {
    if (!events->Contains(name)) events->AddLast(name);
    return 0;
}

int TPopupManager::Free() {
    popups->Clear();
    events->Clear();
    return 0;
}

int TPopupManager::check() {
    if (events->IsEmpty() || popups->IsEmpty() || board->alpha < 1.0f) return 0;

    timeManager->PauseOn();
    const int elapsed = plat::MilliSecs() - board->lastPetrifyTime;
    const float spawnAlpha = blocks->fadeAlpha;
    blocks->fadeAlpha = 1.0f;

    for (const std::string& name : *events) {
        for (const TPopupPtr& entry : *popups) {
            // The list drops its reference when the popup is removed below.
            const TPopupPtr popup = entry;
            if (popup->CanGo(name) == 0) continue;
            if (ShowPopup(popup) != 0) return 1;
            popups->Remove(popup);
        }
    }
    events->Clear();

    timeManager->PauseOff();
    board->lastPetrifyTime = plat::MilliSecs() - elapsed;
    blocks->fadeAlpha = spawnAlpha;
    return 0;
}

// ---- modal steps ---------------------------------------------------------------------------

int TPopupManager::DrawBase() {
    modes::RenewDelta();
    delta = deltaTime->CurrDelta();
    modes::DrawFrozenScene(0);
    return 0;
}

int TPopupManager::DrawPopup(const TPopupPtr& popup) {
    mouse->fetchFor(popup->Phase());
    modes::UpdateLevelMusic();
    plat::Cls();
    DrawBase();
    plat::SetImageFont(font);
    if (popup->Update(okButton) != 0) return 1;
    mouse->Draw();
    return 0;
}

int TPopupManager::PopupFrame(const TPopupPtr& popup) {
    if (DrawPopup(popup) != 0) return 1;
    plat::PollSystem();
    plat::Flip(-1);
    return 0;
}

int TPopupManager::ShowPopup(const TPopupPtr& popup) {
    plat::SetImageFont(font);
    globalSnd->play(3);
    for (;;) {
        if (plat::AppTerminate()) return 1;
        if (PopupFrame(popup) != 0) return 0;
    }
}

plat::ImagePtr TPopupManager::GameOverCaption() const {
    return gameOverCaptions[timeManager->TimeOver() != 0 ? 1 : 0];
}

int TPopupManager::GameOverZoomFrame(float z, const plat::ImagePtr& caption) {
    plat::Cls();
    DrawBase();
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(z);
    plat::SetScale(z, z);
    plat::DrawImage(gameOverPanel, 400, 300, 0);
    if (caption) {
        const int half = plat::ImageWidth(caption) / 2;
        plat::DrawImage(caption, 400.0f - static_cast<float>(half) * z, 300.0f - 65.0f * z, 0);
    }
    plat::SetScale(1, 1);
    mouse->Draw();
    plat::PollSystem();
    plat::Flip(-1);
    // Taken for the next frame: a tap made while the panel zooms waits for
    // the first frame that shows it whole.
    mouse->fetchFor(z < 1.0f ? TMouse::Phase::kIn : TMouse::Phase::kShown);
    modes::UpdateLevelMusic();
    return 0;
}

int TPopupManager::GameOverPanelFrame(const plat::ImagePtr& caption) {
    // Either button leaves the panel for a page drawn where it stood.
    if (retryButton && retryButton->State() != 0) {
        mouse->leavePage();
        return 1;
    }
    if (menuButton && menuButton->State() != 0) {
        mouse->leavePage();
        return 2;
    }
    if (plat::AppTerminate()) return 3;
    plat::Cls();
    DrawBase();
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
    plat::SetScale(1, 1);
    plat::DrawImage(gameOverPanel, 400, 300, 0);
    if (caption) plat::DrawImage(caption, static_cast<float>(400 - plat::ImageWidth(caption) / 2), 235, 0);
    if (retryButton && retryButton->hover != 0) retryButton->DrawOnOut();
    if (menuButton && menuButton->hover != 0) menuButton->DrawOnOut();
    mouse->Draw();
    plat::PollSystem();
    plat::Flip(-1);
    mouse->fetchState();
    modes::UpdateLevelMusic();
    return 0;
}

int TPopupManager::GameOverPopup() {
    playSound2(gameOverSound, nullptr, 0);
    // Chosen once: the clock may cross its limit behind the panel, and the
    // panel must not change its mind about why the game ended.
    const plat::ImagePtr caption = GameOverCaption();
    float z = 0.0f;
    while (z < 1.0f) {
        z += 0.025f;
        GameOverZoomFrame(z, caption);
    }
    for (;;) {
        const int answer = GameOverPanelFrame(caption);
        if (answer != 0) return answer;
    }
}
