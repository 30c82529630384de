// Floating captions.
#include "level/captions.h"

#include <cmath>
#include <string>

#include "core/delta_time.h"
#include "platform/angles.h"
#include "platform/graphics.h"
#include "platform/time.h"

const std::array<int, 10> cyfry2Width = {22, 10, 19, 19, 19, 19, 18, 16, 19, 19};

std::shared_ptr<plat::TList<TCaptionsPtr>> captions = plat::CreateList<TCaptionsPtr>();

plat::ImagePtr TCaptions::match;
plat::ImagePtr TCaptions::combo;
plat::ImagePtr TCaptions::points;
plat::ImagePtr TCaptions::cyfry;

namespace {

// The digits of a value as shown: a minus sign has no picture and is left out.
template <class F>
void ForEachDigit(int value, F&& body) {
    for (char c : std::to_string(value))
        if (c >= '0' && c <= '9') body(c - '0');
}

}  // namespace

int TCaptions::loadGfx() {
    match = plat::LoadImage("gfx/fonts/match.png", -1);
    combo = plat::LoadAnimImage("gfx/fonts/combo.png", 256, 42, 0, 3, -1);
    points = plat::LoadImage("gfx/fonts/points.png", -1);
    cyfry = plat::LoadAnimImage("gfx/fonts/CYFRY2.png", 32, 32, 0, 10, -1);
    plat::MidHandleImage(combo);
    return 0;
}

int TCaptions::Destroy() {
    captions->Remove(shared_from_this());
    return 0;
}

int TCaptions::destroyAll() {
    captions->ForEach([](const TCaptionsPtr& c) { c->Destroy(); });
    return 0;
}

int TCaptions::drawNumber(int dy) {
    float pen = 0.0f;
    ForEachDigit(value, [&](int d) {
        plat::DrawImage(cyfry, x + pen, y + static_cast<float>(dy), d);
        pen += static_cast<float>(cyfry2Width[static_cast<size_t>(d)]) * scale;
    });
    return static_cast<int>(pen + 12.0f);
}

int TCaptions::GetWidth() {
    int w = 0;
    ForEachDigit(value, [&](int d) { w += cyfry2Width[static_cast<size_t>(d)]; });
    w += 12;
    switch (kind) {
    case Points: w += plat::ImageWidth(points); break;
    case Combo: w += plat::ImageWidth(combo); break;
    case Match: w += plat::ImageWidth(match); break;
    default: break;
    }
    return w;
}

TCaptionsPtr TCaptions::addCaption(int kind, int value, int x, int y, float scale, int centred, int delay,
                                   const plat::ImagePtr& image) {
    auto c = std::make_shared<TCaptions>();
    c->x = static_cast<float>(x);
    c->y = static_cast<float>(y);
    c->value = value;
    c->kind = kind;
    c->phase = 0.0f;
    c->alpha = 0.0f;
    c->scale = scale;
    c->delay = delay;
    c->startTime = plat::MilliSecs();
    c->image = kind == Picture ? image : nullptr;
    if (centred != 0) c->x -= static_cast<float>(c->GetWidth() / 2);
    captions->AddLast(c);
    return c;
}

int TCaptions::updateAll() {
    plat::SetColor(255, 255, 255);
    plat::SetBlend(plat::ALPHABLEND);
    const float d = static_cast<float>(delta);
    captions->ForEach([d](const TCaptionsPtr& c) {
        if (c->delay != 0) {
            if (plat::MilliSecs() - c->startTime < c->delay) return;
            c->delay = 0;
        }
        plat::SetAlpha(c->alpha);
        plat::SetScale(c->scale, c->scale);
        // Motion that comes before the phase step.
        if (c->kind == Points || c->kind == Match)
            c->y -= 0.5f * d;
        else
            c->scale += 0.005f * d;
        c->phase += (c->phase < 90.0f ? 3.0f : 1.0f) * d;
        if (c->phase >= 180.0f) {
            c->Destroy();
            return;
        }
        c->alpha = static_cast<float>(plat::Sin(c->phase));
        switch (c->kind) {
        case Points: {
            const int w = c->drawNumber(static_cast<int>((1.0f - c->scale) * 30.0f));
            plat::DrawImage(points, c->x + static_cast<float>(w), c->y - (c->scale - 1.0f) * 30.0f, 0);
            break;
        }
        case Combo: plat::DrawImage(combo, c->x, c->y, c->value - 2); break;
        case Match: {
            const int w = c->drawNumber(0);
            plat::DrawImage(match, c->x + static_cast<float>(w), c->y, 0);
            break;
        }
        case Picture:
            if (c->image) plat::DrawImage(c->image, c->x, c->y, 0);
            break;
        default: break;
        }
    });
    return 0;
}
