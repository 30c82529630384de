// One hint popup read from a popup file ("info.tsc", "infoPZ.tsc",
// "infoRG.tsc" of "data/popups.bca"): a panel picture, up to 100 centred
// lines of text, an optional spell icon or extra icon, and the shared OK
// button that closes it. The layout is worked out once, when it is read.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include "config/tsc_file.h"
#include "core/mouse.h"
#include "platform/image.h"
#include "ui/button.h"

class TPopup;
using TPopupPtr = std::shared_ptr<TPopup>;

class TPopup {
public:
    static constexpr int kMaxLines = 100;
    static constexpr const char* kArchive = "data/popups.bca";

    int32_t x = 0;
    int32_t y = 0;
    plat::ImagePtr image;
    int32_t buttonX = 0;
    int32_t buttonY = 0;
    int32_t textY = 0;
    std::array<std::string, kMaxLines> lines{};
    int32_t lineCount = 0;
    std::string event;
    int32_t fadingIn = 0;
    float alpha = 0.0f;
    int32_t condition = 0;
    int32_t spell = 0;
    plat::ImagePtr iconImage;
    int32_t iconX = 0;
    int32_t iconY = 0;

    // The popup of one top-level group. A group the game cannot show (a
    // missing number key, a picture that does not load, more than 100 lines,
    // a spell kind above 6) gives null and one printed line naming the group.
    static TPopupPtr Create(const TTSCFilePtr& file, const TTSCGroupPtr& group);
    // One frame: fade, OK test, drawing. 1 once the popup has faded out
    // after its OK click (nothing is drawn then), else 0. The caller sets
    // the image font first.
    int Update(const TButtonPtr& okButton);
    // Where the popup stands for the frame's mouse sample, before Update
    // steps its fade: coming in (a press waits for it to be all there),
    // there, or going after its OK (a press aimed at it is dropped).
    TMouse::Phase Phase() const;
    // 1 when the popup may show for this posted event.
    int CanGo(const std::string& eventName) const;
};
