// The quest map screen: fades in over 250 ms with the map song, waits for one
// left click, fades out with the song and reports where the click was.
#include <algorithm>
#include <cstdint>
#include <string>

#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/sequencer.h"
#include "map/map_core.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ui/button.h"

namespace {

// The time since start, as a fraction of a fade. The difference is taken in
// 64 bits, so no reading of the clock can overflow it.
float FadeFraction(int32_t start) {
    const int64_t elapsed = int64_t{plat::MilliSecs()} - int64_t{start};
    return static_cast<float>(elapsed) / TMapCore::kFadeMs;
}

void StopSong(const TAudioStreamPtr& stream) {
    if (!stream) return;
    stream->stop();
    stream->free();
}

}  // namespace

int TMapCore::Show(int32_t levelIndex) {
    if (levelIndex < 0) return 0;
    Begin(levelIndex);
    for (;;) {
        if (plat::AppTerminate()) {
            StopSong(musicStream);
            musicStream.reset();
            plat::End();
        }
        if (musicStream) musicStream->update();
        // A tap in the fade-in is left in the platform for the first frame
        // that acts on one; the fade-out drops the presses aimed at the map.
        mouse->fetchFor(fadeState == 1    ? TMouse::Phase::kIn
                        : fadeState == -1 ? TMouse::Phase::kOut
                                          : TMouse::Phase::kShown);
        Draw();
        if (Update() != 0) return result;
        if (editMode != 0) EditStep();
    }
}

int TMapCore::Begin(int32_t levelIndex) {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetScale(1, 1);
    currentLevel = levelIndex + 1;
    for (const TMapLevelPtr& m : *levels) {
        if (m->number == currentLevel) {
            currentStage = m->stage;
            break;
        }
    }
    fadeStart = plat::MilliSecs();
    fadeState = 1;
    fadeAlpha = 0;
    fadedOut = 0;
    musicStream = playMusicStream(kSong, 1, 1.0f);
    musicStream->update();
    // The player counts the quest's levels from 1: the sequence's levels 0
    // to lastLevel are levels 1 to lastLevel + 1, and the row names the one
    // about to be played. After the last level there is none, and the row
    // stays on the last rather than count past the end.
    const int32_t count = std::max(sequencer->lastLevel + 1, 1);
    const int32_t shown = std::clamp(currentLevel + 1, 1, count);
    if (labels[1]) labels[1]->text = std::to_string(count);
    if (labels[0]) labels[0]->text = std::to_string(shown);
    LayOutTitleRow();
    return 0;
}

int TMapCore::LayOutTitleRow() {
    // "level", label 0, "of", label 1, seven pixels apart, centred on 392.
    const float wL = static_cast<float>(plat::ImageWidth(titleImages[0]));
    const float wO = static_cast<float>(plat::ImageWidth(titleImages[1]));
    const float t0 = labels[0] ? labels[0]->Width() : 0.0f;
    const float t1 = labels[1] ? labels[1]->Width() : 0.0f;
    const float total = wL + kRowGap + t0 + kRowGap + wO + kRowGap + t1;
    titlePositions[0] = plat::TruncToInt(kRowCentre - total / 2);
    const float label0X = static_cast<float>(titlePositions[0]) + wL + kRowGap;
    titlePositions[1] = plat::TruncToInt(label0X + t0 + kRowGap);
    const float label1X = static_cast<float>(titlePositions[1]) + wO + kRowGap;
    if (labels[0]) labels[0]->dim->x = label0X;
    if (labels[1]) labels[1]->dim->x = label1X;
    return 0;
}

int TMapCore::Leave(int32_t value) {
    globalSnd->click();
    // The next screen comes up where the map was: a double-click's second
    // press is not for it.
    mouse->leavePage();
    result = value;
    fadeState = -1;
    fadeStart = plat::MilliSecs();
    return 0;
}

int TMapCore::Update() {
    if (fadeState == 1) {
        fadeAlpha = FadeFraction(fadeStart);
        if (fadeAlpha > 1) {
            fadeAlpha = 1;
            fadeState = 0;
        }
    }
    if (fadeState == -1) {
        fadeAlpha = 1 - FadeFraction(fadeStart);
        if (fadeAlpha < 0) fadedOut = 1;
        if (fadeAlpha > 0 && musicStream) musicStream->setVolume(fadeAlpha * MusicVolume());
    }
    // The click is tested in the very frame the fade-in ends.
    if (fadeState == 0) {
        const int r = menu->State();
        if (r == kMenuButton) Leave(1);
        else if (r == kPlayButton) Leave(0);
    }
    if (fadeState == 0 && mouse->leftHit != 0) Leave(0);
    if (fadedOut != 0) {
        StopSong(musicStream);
        return 1;
    }
    return 0;
}

int TMapCore::Draw() {
    DrawFrame();
    plat::PollSystem();
    plat::Flip(-1);
    return 0;
}

int TMapCore::DrawFrame() {
    for (const TTextPtr& label : labels)
        if (label) label->alpha = fadeAlpha;
    for (int id : {kMenuButton, kPlayButton})
        if (const TButtonPtr b = menu->GetItem(id)) b->alpha = fadeAlpha;
    plat::Cls();
    plat::SetAlpha(fadeAlpha);
    plat::DrawImage(background, 0, 0, 0);
    for (const TTextPtr& label : labels)
        if (label) label->Draw();
    plat::SetAlpha(fadeAlpha);
    plat::DrawImage(titleImages[1], static_cast<float>(titlePositions[1]), kTitleY, 0);
    plat::DrawImage(titleImages[0], static_cast<float>(titlePositions[0]), kTitleY, 0);
    menu->Draw(fadeAlpha);
    for (const TMapLevelPtr& m : *levels) m->Draw(currentLevel, fadeAlpha);
    // Stage pictures lie over the markers.
    for (const TMapStagePtr& s : *stages) s->Draw(currentStage, fadeAlpha);
    mouse->Draw();
    plat::SetAlpha(1);
    if (editMode != 0) plat::DrawText("Level.Stage " + std::to_string(currentStage), 500, 50);
    return 0;
}
