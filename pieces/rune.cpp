#include "pieces/rune.h"

#include "board/board.h"
#include "config/bca.h"
#include "core/helpers.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "ui/spark.h"

std::shared_ptr<TRuneManager> razod;

namespace {

// Sets lo and hi from "lo,hi"; a part with fewer than two values leaves both
// as they were (the file's users always write both).
void ReadBounds(const std::string& part, int32_t& lo, int32_t& hi) {
    const std::vector<std::string> values = splitString(part, ",");
    if (values.size() < 2) return;
    lo = plat::ToInt(values[0]);
    hi = plat::ToInt(values[1]);
}

}  // namespace

int TRuneManager::loadRazodGfx() {
    LoadTSCFileBB(runeFile, "data/settings.bca", "razod.tsc");
    return loadFrom(runeFile);
}

int TRuneManager::loadFrom(const TTSCFilePtr& file) {
    const int count = plat::TruncToInt(GetTSCNumberKey(file, "List", "Quantity", 0));
    for (int n = 1; n <= count; ++n) {
        const std::string group = "List::Rune" + std::to_string(n);
        auto rune = std::make_shared<TRune>();
        const std::string fileName = GetTSCStringKey(file, group, "fileName", 0);
        if (!fileName.empty()) rune->image = plat::LoadImage(fileName, 6);
        const std::string fileName2 = GetTSCStringKey(file, group, "fileName2", 0);
        if (!fileName2.empty()) rune->image40 = plat::LoadImage(fileName2, 6);
        rune->id = GetTSCStringKey(file, group, "id", 0);
        rune->color = GetTSCStringKey(file, group, "color", 0);
        rune->width = plat::TruncToInt(GetTSCNumberKey(file, group, "width", 0));
        rune->height = plat::TruncToInt(GetTSCNumberKey(file, group, "height", 0));
        rune->blocked = plat::TruncToInt(GetTSCNumberKey(file, group, "blocked", 0));
        rune->title = GetTSCStringKey(file, group, "title", 0);
        rune->description = GetTSCStringKey(file, group, "description", 0);
        rune->blockedID = GetTSCStringKey(file, group, "blockedID", 0);
        const std::vector<std::string> parts = splitString(GetTSCStringKey(file, group, "rgb", 0), ":");
        // A short text keeps the bounds it does not reach at 0 rather than
        // reading past what was written.
        if (parts.size() > 0) ReadBounds(parts[0], rune->redLo, rune->redHi);
        if (parts.size() > 1) ReadBounds(parts[1], rune->greenLo, rune->greenHi);
        if (parts.size() > 2) ReadBounds(parts[2], rune->blueLo, rune->blueHi);
        if (rune->blocked != 0) rune->unblocked = GetTSCStringKey(file, group, "unblocked", 0);
        if (rune->image) runeList.push_back(std::move(rune));
    }
    return 0;
}

TRunePtr TRuneManager::_findRuneByID(const std::string& id) {
    for (const TRunePtr& r : runeList)
        if (r->id == id) return r;
    return nullptr;
}

int TRuneManager::Draw(int runeId, float x, int y) {
    const TRunePtr r = _findRuneByID(std::to_string(runeId));
    if (!r) return 0;
    const bool large = board->cellSize == 40;
    const plat::ImagePtr& img = large ? r->image40 : r->image;
    if (img) plat::DrawImage(img, x, static_cast<float>(y), 0);
    return 0;
}

int TRuneManager::isBlocked(int runeId) {
    const TRunePtr r = _findRuneByID(std::to_string(runeId));
    return r && r->blocked != 0 ? 1 : 0;
}

int TRuneManager::unblocked(int runeId) {
    const TRunePtr r = _findRuneByID(std::to_string(runeId));
    return r ? plat::ToInt(r->unblocked) : 0;
}

int TRuneManager::getRuneColor(const std::string& runeId) {
    const TRunePtr r = _findRuneByID(runeId);
    return r ? plat::ToInt(r->color) : 0;
}

int TRuneManager::getRuneRGB(int color, int channel) {
    const std::string wanted = std::to_string(color);
    for (const TRunePtr& r : runeList) {
        if (r->blocked != 0 || r->color != wanted) continue;
        switch (channel) {
            case 1: return plat::Rand(r->redLo, r->redHi);
            case 2: return plat::Rand(r->greenLo, r->greenHi);
            case 3: return plat::Rand(r->blueLo, r->blueHi);
            default: break;  // an unknown channel walks on and ends with 0
        }
    }
    return 0;
}

int RuneColour(int runeId) { return razod->getRuneColor(std::to_string(runeId)); }

int RuneRGB(int colour, int channel) { return razod->getRuneRGB(colour, channel); }

void JitteredRuneRGB(int colour, int& r, int& g, int& b) {
    r = RuneRGB(colour, 1);
    r += plat::Rand(-20, 20);
    g = RuneRGB(colour, 2);
    g += plat::Rand(-20, 20);
    b = RuneRGB(colour, 3);
    b += plat::Rand(-20, 20);
}

int TRuneManager::particleRune(int color, int cellX, int cellY, float velX, float velY, int px, int py) {
    const int r = getRuneRGB(color, 1);
    const int g = getRuneRGB(color, 2);
    const int b = getRuneRGB(color, 3);
    const int cell = board->cellSize;
    const int ox = board->originX;
    const int oy = board->originY;
    int x = ox + cellX * cell + plat::Rand(-7, 12);
    int y = oy + cellY * cell + plat::Rand(-7, 12);
    if (px != 0) x = px + plat::Rand(-7, 12);
    if (py != 0) y = py + plat::Rand(-7, 12);
    const bool drifts = color >= 10;
    const float size = static_cast<float>(drifts ? plat::Rnd(0.5, 0.9) : plat::Rnd(0.6, 1.0));
    const int life = plat::Rand(10, 40);
    const int slot = plat::Rand(1, 3);
    TSparkPtr spark = TSpark::Create(sparkImages[slot], x, y, size, life, r, g, b, 1, 0);
    if (drifts && spark) spark->setVelocity(velX, velY);
    return 0;
}
