// The start-up pictures: read from "portalScreens.tsc", they end the loading
// screen and are shown one after the other, each fading in, staying and
// fading out, before the title screen.
#include "config/bca.h"
#include "config/tsc_file.h"
#include "core/delta_time.h"
#include "core/music.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/graphics.h"
#include "platform/text.h"
#include "platform/time.h"
#include "screens/loading.h"
#include "screens/screens_links.h"

namespace {

constexpr float kFadeStep = 0.05f;  // 32-bit: 20 frames in, 20 steps out
constexpr int kHoldMs = 2000;
constexpr int kFullScreenHoldMs = 500;
constexpr int kMagicWithoutPictures = 3500;
constexpr int kMagicBeforePictures = 5000;
constexpr const char* kArchive = "data/settings.bca";
constexpr const char* kMember = "portalScreens.tsc";

void TitleMusicFrame() {
    if (!screensLinks.titleMusicStream) return;
    if (auto stream = screensLinks.titleMusicStream()) stream->update();
}

void Present() {
    plat::PollSystem();
    plat::Flip(-1);
    TitleMusicFrame();
}

}  // namespace

TPortalScreenPtr TPortalScreen::Create(const std::string& imageName, int px, int py, int fullScreen) {
    auto p = std::make_shared<TPortalScreen>();
    p->x = px;
    p->y = py;
    if (!imageName.empty()) {
        p->image = plat::LoadImage(imageName, -1);
        p->fullscreen = fullScreen;
    }
    p->fadeState = 1;
    p->alive = 1;
    p->alpha = 0;
    return p;
}

int TPortalScreen::Draw() {
    if (fadeState == 1) {
        alpha += kFadeStep;
        if (alpha > 1) {
            alpha = 1;
            fadeState = 0;
        }
    } else if (fadeState == -1) {
        alpha -= kFadeStep;
        if (alpha < 0) {
            alpha = 0;
            alive = 0;
        }
    }
    plat::SetAlpha(alpha);
    if (fullscreen != 0) plat::DrawImage(image, 0, 0, 0);
    else plat::DrawImage(image, static_cast<float>(x), static_cast<float>(y), 0);
    return 0;
}

std::shared_ptr<plat::TList<TPortalScreenPtr>> ReadPortalScreens(std::string& missingKey) {
    auto list = plat::CreateList<TPortalScreenPtr>();
    missingKey.clear();
    const TTSCFilePtr file = CreateTSCFile();
    // A damaged list has been reported by the reader; it then has no groups.
    LoadTSCFileBB(file, kArchive, kMember);
    const auto groups = GetTSCGroupList(file, "");
    for (const TTSCGroupPtr& group : *groups) {
        const std::string& path = group->name;
        try {
            const std::string imageName = GetTSCStringKey(file, path, "Image", 0);
            const int px = plat::TruncToInt(GetTSCNumberKey(file, path, "X", 0));
            const int py = plat::TruncToInt(GetTSCNumberKey(file, path, "Y", 0));
            const int full = plat::TruncToInt(GetTSCNumberKey(file, path, "Fullscreen", 0));
            list->AddLast(TPortalScreen::Create(imageName, px, py, full));
        } catch (const TSCError& e) {
            missingKey = e.Text();
            break;
        }
    }
    return list;
}

int TLoading::PortalScreens() {
    std::string missingKey;
    auto list = ReadPortalScreens(missingKey);
    // The last pictures start-up loads: any left over, pictures or sounds,
    // were never wanted.
    plat::DropPixmapsAhead();
    plat::DropSoundsAhead();
    if (!missingKey.empty()) {
        // The installation is damaged: say which file and key, and end in order.
        list->Clear();
        plat::Notify(std::string("The start-up picture list ") + kMember + " in " + kArchive +
                         " cannot be used:\n" + missingKey + "\nThe game will close.",
                     0);
        plat::End();
    }

    // End the loading screen.
    if (list->IsEmpty()) {
        doMagic(kMagicWithoutPictures);
        return 0;
    }
    if (list->First()->fullscreen != 0) {
        // Straight into a full-screen picture: no logo, the screen fades out.
        delta = 1.0;
        if (screensLinks.playTitleMusic) screensLinks.playTitleMusic();
        const int start = plat::MilliSecs();
        for (;;) {
            if (plat::MilliSecs() - start > kFullScreenHoldMs) {
                bgAlpha -= kFadeStep;
                ballAlpha -= kFadeStep;
            }
            if (bgAlpha < 0) break;
            Draw();
            Present();
        }
    } else {
        doMagic(kMagicBeforePictures);
        for (;;) {
            logoAlpha -= kFadeStep;
            if (logoAlpha < 0) break;
            Draw();
            Present();
        }
    }

    // The pictures, in the state the loading screen draws in (the sparks of
    // the animation may have left another blend behind).
    plat::SetBlend(3);
    plat::SetColor(255, 255, 255);
    plat::SetTransform(0, 1, 1);
    for (const TPortalScreenPtr& picture : *list) {
        const int start = plat::MilliSecs();
        for (;;) {
            plat::Cls();
            if (picture->fullscreen == 0) {
                plat::SetAlpha(1);
                plat::DrawImage(bg, 0, 0, 0);
            }
            picture->Draw();
            if (plat::MilliSecs() - start > kHoldMs) picture->fadeState = -1;
            if (picture->alive == 0) break;
            Present();
        }
    }
    list->Clear();
    return 0;
}
