#include "modes/scene.h"

#include "board/board.h"
#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/comet.h"
#include "ui/spark.h"

namespace modes {

void DrawFrozenScene(int boardUpdate) {
    level->Draw();
    magicSphere->Update(1);
    timeManager->DrawAndUpdate();
    points->Draw();
    if (boardUpdate != 0) board->Update(1);
    board->Draw(0);
    bossManager->Draw();
    bonusManagerAlt->Draw();
    UpdateEffectLists();
    // Particles leave their scale and tint behind; what is drawn over the
    // frozen scene (the menu window, a popup, the game-over panel) starts
    // from a plain state.
    plat::SetTransform(0.0f, 1.0f, 1.0f);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1.0f);
}

void PlayScene() {
    level->Draw();
    magicSphere->Update(1);
    timeManager->DrawAndUpdate();
    points->Draw();
    board->Update(0);
    board->Draw(0);
    bossManager->Draw();
    bonusManagerAlt->Update();
    bonusManagerAlt->Draw();
    blocks->updateBlock(-1, -1);
    blocks->drawBlock(0, 0);
    UpdateEffectLists();
}

void UpdateEffectLists() {
    TCometEmiter::updateAll();
    TVolcanoEmiter::updateAll();
    TRingEmiter::UpdateAll();
    TSpark::UpdateAll();
    TCaptions::updateAll();
    TSoundQ::updateAll();
}

void ClearEffectLists() {
    cometList->Clear();
    TCaptions::destroyAll();
    TSpark::destroyAll();
    soundQueue->Clear();
}

void UpdateLevelMusic() {
    if (level->music) level->music->update();
}

void StopMusicAndEnd() {
    if (level->music) {
        level->music->stop();
        level->music->free();
        level->music = nullptr;
    }
    plat::End();
}

void CompleteTurn() {
    if (blocks->targetRotation == blocks->curRotation) return;
    blocks->curRotation = blocks->targetRotation;
    blocks->turnProgress = 0;
    blocks->turnAngle = 90 * blocks->targetRotation;
    blocks->blockChanged = 1;
}

int SpellsPending() { return bonusManagerAlt->activeSpells.IsEmpty() ? 0 : 1; }

void BeginFrame() {
    UpdateLevelMusic();
    plat::Cls();
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
    mouse->fetchState();
}

void BeginTallyFrame() {
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
    level->updateSummary();
    level->Draw();
}

bool EndTallyFrame() {
    mouse->Draw();
    plat::PollSystem();
    plat::Flip(-1);
    const bool closing = plat::AppTerminate();
    UpdateLevelMusic();
    mouse->fetchState();
    return closing;
}

void RenewDelta() {
    deltaTime->Update();
}

}  // namespace modes
