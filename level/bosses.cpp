// Bosses and their manager.
//
// Index: one boss · loading a level's bosses · the board's questions · drawing
#include "level/bosses.h"

#include <cmath>

#include "board/board.h"
#include "config/bca.h"
#include "core/helpers.h"
#include "core/sound.h"
#include "level/level.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/text.h"
#include "platform/time.h"

std::shared_ptr<TBossManager> bossManager;

namespace {

// The whole text is a (signed) decimal integer.
bool IsInteger(const std::string& s) {
    size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    if (i >= s.size()) return false;
    for (; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

}  // namespace

// ---- one boss ----------------------------------------------------------------------------

TBossRunePtr TBossRune::Create(int id, int color, int x, int y, const std::string& imagePath) {
    auto b = std::make_shared<TBossRune>();
    b->id = id;
    b->color = color;
    b->x = x;
    b->y = y;
    b->image = imagePath.empty() ? nullptr : plat::LoadImage(imagePath, -1);
    b->active = 1;
    b->createdTime = static_cast<float>(plat::MilliSecs());
    return b;
}

std::array<std::array<int, 2>, 16> TBossRune::ArmCells() const {
    // Top-left cell of each arm: left, right, upper, lower.
    const int arms[4][2] = {{x - 2, y}, {x + 2, y}, {x, y - 2}, {x, y + 2}};
    std::array<std::array<int, 2>, 16> cells{};
    size_t n = 0;
    for (const auto& a : arms)
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy) cells[n++] = {a[0] + dx, a[1] + dy};
    return cells;
}

int TBossRune::CheckMove(int cx, int cy) { return x <= cx && cx <= x + 1 && y <= cy && cy <= y + 1 ? 1 : 0; }

int TBossRune::CheckForMatch(int commit) {
    for (const auto& c : ArmCells()) {
        if (!OnGrid(c[0], c[1])) return 0;
        if (board->runeLayer[c[0]][c[1]] == 0 || board->colorLayer[c[0]][c[1]] != color) return 0;
    }
    if (commit != 0) {
        board->_addLine(x - 2, y, x - 1, y);
        board->_addLine(x - 2, y + 1, x - 1, y + 1);
        board->_addLine(x + 2, y, x + 3, y);
        board->_addLine(x + 2, y + 1, x + 3, y + 1);
        board->_addLine(x, y - 2, x + 1, y - 2);
        board->_addLine(x, y - 1, x + 1, y - 1);
        board->_addLine(x, y + 2, x + 1, y + 2);
        board->_addLine(x, y + 3, x + 1, y + 3);
        return 1;
    }
    // The figure lies on the grid: every arm cell passed the test above.
    for (int cx = x - 2; cx <= x + 3; ++cx)
        for (int cy = y; cy <= y + 1; ++cy) board->highlightLayer[cx][cy] = color;
    for (int cx = x; cx <= x + 1; ++cx)
        for (int cy = y - 2; cy <= y + 3; ++cy) board->highlightLayer[cx][cy] = color;
    return 0;
}

int TBossRune::Draw(const plat::ImagePtr& shadow, const TBossFrames& frames) {
    const float e = static_cast<float>(plat::MilliSecs()) - createdTime;
    const float t = std::fmod(e, 500.0f) / 500.0f;
    int k = static_cast<int>(std::fmod(e / 500.0f, 16.0f));
    if (k < 0 || k > 15) k = 0;  // a clock read before the boss was made
    const int p = k == 0 ? 15 : k - 1;
    const int cs = board->cellSize;
    const float px = static_cast<float>(board->originX + cs * x);
    const float py = static_cast<float>(board->originY + cs * y);
    plat::DrawImage(shadow, px, py, 0);
    plat::DrawImage(image, px, py, 0);
    plat::SetAlpha(t);
    plat::DrawImage(frames[static_cast<size_t>(k)], px, py, 0);
    plat::SetAlpha(1.0f - t);
    plat::DrawImage(frames[static_cast<size_t>(p)], px, py, 0);
    plat::SetAlpha(1.0f);
    return 0;
}

int TBossRune::DrawHelp(const plat::ImagePtr& mark) {
    plat::SetAlpha(0.3f);
    const int cs = board->cellSize;
    const int ox = board->originX, oy = board->originY;
    for (const auto& c : ArmCells())
        if (OnGrid(c[0], c[1]))
            plat::DrawImage(mark, static_cast<float>(ox + c[0] * cs), static_cast<float>(oy + c[1] * cs), 0);
    plat::SetAlpha(1.0f);
    return 0;
}

// ---- loading a level's bosses ---------------------------------------------------------------

int TBossManager::LoadResources() {
    catalogue = CreateTSCFile();
    LoadTSCFileBB(catalogue, "data/settings.bca", "bossRazod.tsc");
    return 0;
}

std::string TBossManager::EffectFrameName(const std::string& prefix, int i) {
    return prefix + (i < 10 ? "000" : "00") + std::to_string(i) + ".png";
}

int TBossManager::Load(const TTSCFilePtr& levelFile) { return Load(levelFile, level->goalType); }

int TBossManager::Load(const TTSCFilePtr& levelFile, int goalType) {
    bosses->Clear();
    if (goalType != 3) return 0;
    // The same test the board's picture uses for its cell size.
    const bool big = board->fitCellSize() == 40;
    const char* imageKey = big ? "fileNameBossBig" : "fileNameBoss";
    const std::string prefix = big ? "gfx/boss/boss-ef" : "gfx/boss/boss-efm";

    std::shared_ptr<TTSCGroupList> kinds = catalogue ? GetTSCGroupList(catalogue, "List") : nullptr;
    const std::vector<TTSCGroupPtr> kindList = kinds ? kinds->ToArray() : std::vector<TTSCGroupPtr>{};
    const std::string entries = GetTSCStringKey(levelFile, "Settings::Level", "BossRazod", 0);
    for (const std::string& entry : splitString(entries, " ")) {
        const std::vector<std::string> parts = splitString(entry, ":");
        if (parts.size() != 3 || !IsInteger(parts[0]) || !IsInteger(parts[1]) || !IsInteger(parts[2])) {
            plat::Print("Boss entry \"" + entry + "\" is not id:x:y; skipped");
            continue;
        }
        if (kindList.empty()) {
            plat::Print("No boss kinds in bossRazod.tsc; boss \"" + entry + "\" not placed");
            continue;
        }
        const int id = plat::ToInt(parts[0]);
        const int x = plat::ToInt(parts[1]);
        const int y = plat::ToInt(parts[2]);
        // The first kind with this id; an unknown id takes the last kind.
        TTSCGroupPtr kind = kindList.back();
        for (const TTSCGroupPtr& g : kindList) {
            const std::string path = "List::" + g->name;
            if (GetTSCStringKey(catalogue, path, "id", 0) == std::to_string(id)) {
                kind = g;
                break;
            }
        }
        const std::string path = "List::" + kind->name;
        const int color = plat::ToInt(GetTSCStringKey(catalogue, path, "color", 0));
        const std::string imagePath = GetTSCStringKey(catalogue, path, imageKey, 0);
        bosses->AddLast(TBossRune::Create(id, color, x, y, imagePath));
    }
    for (int i = 0; i < 16; ++i)
        effectFrames[static_cast<size_t>(i)] = plat::LoadImage(EffectFrameName(prefix, i), -1);
    helpMarkImage = plat::LoadImage(big ? "gfx/boss/sadza40.png" : "gfx/boss/sadza32.png", -1);
    bossShadowImage = plat::LoadImage(big ? "gfx/boss/cien_boss.png" : "gfx/boss/cien_bossm.png", -1);
    explodeSound = plat::LoadSound("sfx/playgame-explodebooskloc1.ogg", 0);
    return 0;
}

int TBossManager::Free() {
    bosses->Clear();
    bossShadowImage.reset();
    for (auto& f : effectFrames) f.reset();
    explodeSound.reset();
    return 0;
}

// ---- the board's questions ---------------------------------------------------------------

int TBossManager::CheckMove(int x, int y) {
    int covered = 0;
    bosses->ForEach([&](const TBossRunePtr& b) {
        if (b->active != 0 && b->CheckMove(x, y) != 0) covered = 1;
    });
    return covered;
}

int TBossManager::CheckForMatch(int commit) {
    bosses->ForEach([&](const TBossRunePtr& b) {
        if (b->active == 0) return;
        if (b->CheckForMatch(commit) != 0) {
            bosses->Remove(b);
            playSound2(explodeSound, nullptr, 0);
        }
    });
    return 0;
}

int TBossManager::CheckForGoal() { return bosses->IsEmpty() ? 1 : 0; }

// ---- drawing ---------------------------------------------------------------------------------

int TBossManager::Draw() {
    bosses->ForEach([&](const TBossRunePtr& b) {
        if (b->active != 0) b->Draw(bossShadowImage, effectFrames);
    });
    return 0;
}

int TBossManager::DrawHelp() {
    bosses->ForEach([&](const TBossRunePtr& b) {
        if (b->active != 0) b->DrawHelp(helpMarkImage);
    });
    return 0;
}
