// A headless world for the quest map: the options, the mouse, the shared
// click sound, a map song, the sequencer's last level, a digits font whose
// letters have known widths, and a map whose pictures are plain images of
// distinct sizes (no files needed).
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "config/tsc_file.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/sequencer.h"
#include "map/map_core.h"
#include "platform/audio.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/stream.h"
#include "platform/testing.h"
#include "ui/button_image.h"
#include "ui/font.h"

namespace map_test {

namespace pt = plat::testing;

inline plat::ImagePtr Picture(int w, int h) { return plat::CreateImage(w, h, 1, -1); }

// A sound that plays for a second (or loops): its channel can be seen playing
// and its level heard in the mix.
inline plat::SoundPtr Tone(int16_t value, bool loop) {
    auto s = std::make_shared<plat::Sound>();
    s->samples.assign(2 * 44100, value);
    s->loop = loop;
    return s;
}

inline TTSCFilePtr TscFromText(const std::string& text) {
    TTSCFilePtr f = CreateTSCFile();
    LoadTSCFile(f, plat::CreateMemoryStream(text));
    return f;
}

// Digit d is 10 + d pixels wide, so numbers of different digits differ.
inline int DigitWidth(char d) { return 10 + (d - '0'); }
inline int DigitsWidth(const std::string& s) {
    int w = 0;
    for (char c : s) w += DigitWidth(c);
    return w;
}
inline TFontPtr DigitsFont() {
    auto f = std::make_shared<TFont>();
    f->characters = "0123456789";
    f->lineHeight = 32;
    for (char d = '0'; d <= '9'; ++d) {
        const int w = DigitWidth(d);
        f->letters->AddLast(CreateLetter(Picture(w, 30), std::string(1, d), CreateDim(0, 0, w, 30, 0, 1, 1, 0)));
    }
    return f;
}

// The pictures and widgets Load would make, sized apart: kind pictures
// 20/21 (kind 1), 30/31 (kind 3), 40/41 (kind 5) pixels square.
struct MapPictures {
    static constexpr int kLevelWordW = 60, kOfWordW = 30;
    static constexpr int kMenuW = 120, kPlayW = 80, kButtonH = 30;
};
inline void GiveMapPictures(TMapCore& m) {
    m.background = Picture(800, 600);
    m.titleImages = {Picture(MapPictures::kLevelWordW, 24), Picture(MapPictures::kOfWordW, 24)};
    m.markerImages[0] = {Picture(20, 20), Picture(21, 21)};
    m.markerImages[1] = m.markerImages[0];
    m.markerImages[3] = m.markerImages[0];
    m.markerImages[2] = {Picture(30, 30), Picture(31, 31)};
    m.markerImages[4] = {Picture(40, 40), Picture(41, 41)};
    m.highlightImages = {Picture(44, 44), Picture(46, 46), Picture(56, 56)};
    for (const auto& row : m.markerImages)
        for (const auto& img : row) plat::MidHandleImage(img);
    for (const auto& img : m.highlightImages) plat::MidHandleImage(img);
    for (auto& label : m.labels)
        label = CreateText("", CreateDim(400, TMapCore::kLabelY, 0, 0, 0, 1, 1, 0), fonts[1], 1.0f, 0, 0, 0);
    m.menu->AddItem(CreateImageButton(Picture(MapPictures::kMenuW, MapPictures::kButtonH),
                                      CreateDim(194, 566, 0, 0, 0, 1, 1, 0), TMapCore::kMenuButton, 1.0f,
                                      kHoverDarken));
    m.menu->AddItem(CreateImageButton(Picture(MapPictures::kPlayW, MapPictures::kButtonH),
                                      CreateDim(520, 566, 0, 0, 0, 1, 1, 0), TMapCore::kPlayButton, 1.0f,
                                      kHoverDarken));
}

class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        pt::Reset();
        pt::ClearNotifications();
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        options = std::make_shared<TOptions>();
        options->musicVol = 0.5f;
        options->soundVol = 0.8f;
        mouse = std::make_shared<TMouse>();
        globalSnd = std::make_shared<TGlobalSnd>();
        globalSnd->sounds[6] = Tone(1000, false);
        songManager = std::make_shared<TSongManager>();
        auto song = std::make_shared<TMusicFile>();
        song->fileName = TMapCore::kSong;
        song->sound = Tone(4096, true);
        song->loaded = 1;
        songManager->songs->AddLast(song);
        sequencer = std::make_shared<TLevelSequencer>();
        sequencer->lastLevel = 13;
        fonts[1] = DigitsFont();
        map = std::make_shared<TMapCore>();
        GiveMapPictures(*map);
    }
    void TearDown() override {
        map.reset();
        fonts[1].reset();
        sequencer.reset();
        songManager.reset();
        globalSnd.reset();
        mouse.reset();
        options.reset();
        pt::Reset();
    }

public:
    // Markers by (number, stage, kind), placed 50 pixels apart.
    static void AddMarkers(const std::vector<std::array<int, 3>>& entries) {
        int x = 100;
        for (const auto& e : entries) {
            map->AddLevel(e[0], e[1], e[2], x, 300);
            x += 50;
        }
    }
    // Stage pictures without files; a picture of its own size per number.
    static void AddStagePictures(const std::vector<int>& numbers) {
        for (int n : numbers) {
            auto s = std::make_shared<TMapStage>();
            s->number = n;
            s->x = 100 * n;
            s->y = 20;
            s->image = Picture(60 + n, 40);
            map->stages->AddLast(s);
        }
    }
    // The draws of images in the recorder, of one picture.
    static std::vector<pt::DrawCall> DrawsOf(const plat::ImagePtr& img) {
        std::vector<pt::DrawCall> out;
        for (const auto& c : pt::DrawCalls())
            if (c.kind == pt::DrawCall::IMAGE && c.image == img.get()) out.push_back(c);
        return out;
    }
};

}  // namespace map_test
