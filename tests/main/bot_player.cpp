// The bot: move choice, then the per-frame driver.
#include "bot_player.h"
#include "button_aim.h"

#include <algorithm>

#include "core/globals.h"
#include "level/bosses.h"
#include "level/level.h"
#include "level/spheres.h"
#include "modes/popup_manager.h"
#include "platform/app.h"
#include "platform/input.h"
#include "platform/testing.h"
#include "screens/options_window.h"
#include "ui/button.h"
#include "ui/container.h"

namespace quill_bot {

namespace pt = plat::testing;
using quill_test::CentreOf;
using quill_test::MenuButton;

// ---- move choice ------------------------------------------------------------------------

bool PointerForCell(const TBoardManager& b, int cellX, int cellY, int& px, int& py) {
    const int s = b.cellSize;
    if (s <= 0) return false;
    // Right of the cell's middle for anchors left of the origin: integer
    // division rounds towards zero, so -1 needs a full cell's distance.
    px = b.originX + cellX * s + (cellX >= 0 ? s / 2 : -s / 2);
    py = b.originY + cellY * s + (cellY >= 0 ? s / 2 : -s / 2);
    if (px < 0 || px >= 800 || py < 0 || py >= 600) return false;
    if (px <= b.originX - s) return false;
    return (px - b.originX) / s == cellX && (py - b.originY) / s == cellY;
}

namespace {

bool OnBoardGrid(int x, int y) { return x >= 0 && y >= 0 && x < kBoardCells && y < kBoardCells; }

// The 16 arm cells of a boss figure at (x, y): the 2 x 2 squares left,
// right, above and below its own 2 x 2 cells.
std::vector<std::pair<int, int>> Arms(const BossView& b) {
    std::vector<std::pair<int, int>> cells;
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx : {-2, -1, 2, 3}) cells.emplace_back(b.x + dx, b.y + dy);
    }
    for (int dx = 0; dx < 2; ++dx) {
        for (int dy : {-2, -1, 2, 3}) cells.emplace_back(b.x + dx, b.y + dy);
    }
    return cells;
}

bool Wanted(const Goal& goal, int colour) {
    if (goal.wantedColours.empty()) return true;
    return std::find(goal.wantedColours.begin(), goal.wantedColours.end(), colour) != goal.wantedColours.end();
}

}  // namespace

bool ChooseMove(const TBoardLayer& shape, const TBoardLayer& runes, const TBoardLayer& colours, const TBlock& block,
                const Goal& goal, const FitTest& fits, Move& best, const std::function<bool(int x, int y)>& reachable) {
    // The game's own run scan, run on a scratch board: the live one is
    // never touched.
    static TBoardManager scratch;
    bool found = false;
    best = Move{};
    best.score = -(1L << 40);
    for (int r = 0; r < 4; ++r) {
        for (int ax = -3; ax < kBoardCells; ++ax) {
            for (int ay = -3; ay < kBoardCells; ++ay) {
                if (reachable && !reachable(ax, ay)) continue;
                bool ok = true, any = false;
                for (int i = 0; i < 4 && ok; ++i)
                    for (int j = 0; j < 4 && ok; ++j) {
                        if (block.cells[i][j] <= 0) continue;
                        any = true;
                        int dx, dy;
                        RotationOffset(r, i, j, dx, dy);
                        if (!fits(ax, ay, dx, dy, i, j)) ok = false;
                    }
                if (!ok || !any) continue;

                scratch.runeLayer = runes;
                scratch.colorLayer = colours;
                std::vector<std::pair<int, int>> placed;
                for (int i = 0; i < 4; ++i)
                    for (int j = 0; j < 4; ++j) {
                        if (block.cells[i][j] <= 0) continue;
                        int dx, dy;
                        RotationOffset(r, i, j, dx, dy);
                        scratch.runeLayer[ax + dx][ay + dy] = block.cells[i][j];
                        scratch.colorLayer[ax + dx][ay + dy] = block.colors[i][j];
                        placed.emplace_back(ax + dx, ay + dy);
                    }

                // A boss is beaten when all its arms hold its colour at the drop.
                int bossesBeaten = 0, armsGood = 0, armsBad = 0;
                for (const BossView& b : goal.bosses) {
                    bool all = true;
                    for (auto [cx, cy] : Arms(b)) {
                        if (!OnBoardGrid(cx, cy)) {
                            all = false;
                            continue;
                        }
                        const bool holds = scratch.runeLayer[cx][cy] != 0 && scratch.colorLayer[cx][cy] == b.colour;
                        if (!holds) all = false;
                    }
                    if (all) ++bossesBeaten;
                    for (auto [px, py] : placed)
                        for (auto [cx, cy] : Arms(b))
                            if (px == cx && py == cy) {
                                if (scratch.colorLayer[px][py] == b.colour)
                                    ++armsGood;
                                else
                                    ++armsBad;
                            }
                }

                for (auto& column : scratch.highlightLayer) column.fill(0);
                scratch.checkForHorizontalMatch(0);
                scratch.checkForVerticalMatch(0);
                int cleared = 0, useful = 0, armsLost = 0;
                for (int x = 0; x < kBoardCells; ++x)
                    for (int y = 0; y < kBoardCells; ++y) {
                        if (scratch.highlightLayer[x][y] == 0) continue;
                        ++cleared;
                        if (Wanted(goal, scratch.colorLayer[x][y])) ++useful;
                        for (const BossView& b : goal.bosses)
                            for (auto [cx, cy] : Arms(b))
                                if (cx == x && cy == y && scratch.colorLayer[x][y] == b.colour) ++armsLost;
                    }
                // A boss colour rune beside an arm, outside the figure, lines
                // up with the arm later and clears it before it is whole.
                int threats = 0;
                for (const BossView& b : goal.bosses) {
                    const auto arms = Arms(b);
                    auto inFigure = [&](int cx, int cy) {
                        if (cx >= b.x && cx <= b.x + 1 && cy >= b.y && cy <= b.y + 1) return true;
                        return std::find(arms.begin(), arms.end(), std::make_pair(cx, cy)) != arms.end();
                    };
                    for (auto [ax2, ay2] : arms) {
                        static constexpr int kNext[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                        for (const auto& d : kNext) {
                            const int nx = ax2 + d[0], ny = ay2 + d[1];
                            if (!OnBoardGrid(nx, ny) || inFigure(nx, ny)) continue;
                            if (scratch.highlightLayer[nx][ny] == 0 && scratch.runeLayer[nx][ny] != 0 &&
                                scratch.colorLayer[nx][ny] == b.colour)
                                ++threats;
                        }
                    }
                }
                // What stays: same colours side by side, few runes, a snug fit.
                int adjacent = 0, snug = 0, left = 0;
                for (int x = 0; x < kBoardCells; ++x)
                    for (int y = 0; y < kBoardCells; ++y)
                        if (scratch.runeLayer[x][y] != 0 && scratch.highlightLayer[x][y] == 0) ++left;
                for (auto [px, py] : placed) {
                    if (scratch.highlightLayer[px][py] != 0) continue;
                    static constexpr int kAround[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                    for (const auto& d : kAround) {
                        const int nx = px + d[0], ny = py + d[1];
                        if (!OnBoardGrid(nx, ny) || shape[nx][ny] == 0) {
                            ++snug;
                            continue;
                        }
                        if (scratch.highlightLayer[nx][ny] != 0) continue;
                        if (scratch.runeLayer[nx][ny] == 0) continue;
                        ++snug;
                        if (scratch.colorLayer[nx][ny] == scratch.colorLayer[px][py]) ++adjacent;
                    }
                }
                // Runs in the making: windows of three cells through a new rune
                // that hold only its colour or room for it.
                int potential = 0;
                for (auto [px, py] : placed) {
                    if (scratch.highlightLayer[px][py] != 0) continue;
                    const int c = scratch.colorLayer[px][py];
                    if (c == 0) continue;
                    for (int axis = 0; axis < 2; ++axis)
                        for (int start = -2; start <= 0; ++start) {
                            int same = 0;
                            bool open = true;
                            for (int k = start; k < start + 3 && open; ++k) {
                                const int cx = px + (axis == 0 ? k : 0), cy = py + (axis == 1 ? k : 0);
                                if (!OnBoardGrid(cx, cy) || shape[cx][cy] == 0) {
                                    open = false;
                                } else if (scratch.runeLayer[cx][cy] != 0 && scratch.highlightLayer[cx][cy] == 0) {
                                    if (scratch.colorLayer[cx][cy] == c)
                                        ++same;
                                    else
                                        open = false;
                                }
                            }
                            if (open) potential += same * same;
                        }
                }
                const long score = 1000000L * bossesBeaten + 1000L * useful + 300L * (cleared - useful) +
                                   2500L * armsGood - 2000L * armsBad - 3000L * armsLost - 800L * threats +
                                   (goal.clearBoard ? 250L : 120L) * adjacent + 4L * snug -
                                   (goal.clearBoard ? 60L : 10L) * left + (goal.clearBoard ? 30L : 10L) * potential;
                if (!found || score > best.score) {
                    found = true;
                    best = Move{r, ax, ay, score, cleared};
                }
            }
        }
    }
    return found;
}

bool ChooseLiveMove(Move& best) {
    if (!board || !blocks || !blocks->heldBlock) return false;
    const TBlockPtr held = blocks->heldBlock;
    Goal goal;
    if (magicSphere && level && level->goalType == 1) {
        for (size_t s = 0; s < magicSphere->sphereColor.size(); ++s)
            if (magicSphere->sphereColor[s] != 0 && magicSphere->sphereFill[s] < magicSphere->sphereCapacity[s])
                goal.wantedColours.push_back(magicSphere->sphereColor[s]);
    }
    goal.clearBoard = level && level->goalType == 2;
    if (bossManager) {
        bossManager->bosses->ForEach([&](const TBossRunePtr& b) {
            if (b->active != 0) goal.bosses.push_back({b->x, b->y, b->color});
        });
    }
    TBoardManager& b = *board;
    FitTest fits = [&](int x, int y, int dx, int dy, int i, int j) { return b._checkMove(held, x, y, dx, dy, i, j) != 0; };
    auto reachable = [&](int x, int y) {
        int px, py;
        return PointerForCell(b, x, y, px, py);
    };
    return ChooseMove(b.shapeLayer, b.runeLayer, b.colorLayer, *held, goal, fits, best, reachable);
}

// ---- per-frame driver ---------------------------------------------------------------------

void BotPlayer::Install() {
    pt::OnFlip([this](int n) { OnFlip(n); });
}

void BotPlayer::Uninstall() { pt::OnFlip(nullptr); }

void BotPlayer::Later(int flips, std::function<void()> f) { queue_.push_back({flip_ + flips, std::move(f)}); }

void BotPlayer::ClickAt(int x, int y) {
    Later(1, [=] { pt::SetMouse(x, y); });
    // Held for two frames: some buttons answer the press, some the hold.
    Later(3, [] { pt::PressMouse(plat::MOUSE_LEFT); });
    Later(5, [] { pt::ReleaseMouse(plat::MOUSE_LEFT); });
    Later(8, [] {});
}

namespace {

// The level's goal as the quest loop tests it (without its key shortcut).
bool GoalMet() {
    if (!level) return false;
    switch (level->goalType) {
        case 1: return magicSphere && magicSphere->IsFull() != 0;
        case 2: return board && board->IsEmpty() != 0;
        case 3: return bossManager && bossManager->CheckForGoal() != 0;
        default: return false;
    }
}

}  // namespace

bool BotPlayer::ClickButtonOf(const void* button) {
    int x, y;
    if (!CentreOf(static_cast<const TButton*>(button), x, y)) return false;
    ClickAt(x, y);
    return true;
}

BotPlayer::Screen BotPlayer::Classify() const {
    // What the last frame showed, from the draw record: the popup and
    // game-over panels are pictures of their own.
    const auto& calls = pt::DrawCalls();
    if (popupManager) {
        const plat::Image* panel = popupManager->gameOverPanel.get();
        for (const auto& c : calls)
            if (panel && c.image == panel && c.alpha >= 1.0f) return Screen::GameOver;
        std::vector<const plat::Image*> popupPictures;
        popupManager->popups->ForEach([&](const TPopupPtr& p) {
            if (p && p->image) popupPictures.push_back(p->image.get());
        });
        for (const auto& c : calls)
            if (c.image && std::find(popupPictures.begin(), popupPictures.end(), c.image) != popupPictures.end())
                return Screen::Popup;
        for (const auto& c : calls)
            if (panel && c.image == panel) return Screen::Other;  // the panel still zooms in
    }
    if (optionsWindow && optionsWindow->state == kMenuInGame && (MenuButton(20) || MenuButton(23)))
        return Screen::Menu;
    if (level && level->summaryStage >= 7 && level->summaryDone == 0) return Screen::Tally;
    if (board && board->gameOverFlag != 0) return Screen::Other;
    if (questGoal && GoalMet()) return Screen::Other;
    if (blocks && blocks->heldBlock && board) return Screen::Play;
    return Screen::Other;
}

void BotPlayer::OnFlip(int flip) {
    flip_ = flip;
    stats.frames = flip;
    const Screen screen = Classify();
    // The record would grow with every frame of a long game.
    pt::ClearDrawCalls();

    if (flip > hardCap) {
        // The game did not end on the close request: count it stuck and
        // end it the way a crash of the loop would be noticed.
        stats.stuck = true;
        plat::End();
    }
    if (frameLimit > 0 && flip >= frameLimit && !terminated_) {
        terminated_ = true;
        stats.limitReached = true;
        pt::RequestTerminate();
    }

    while (!queue_.empty() && queue_.front().first <= flip) {
        auto f = std::move(queue_.front().second);
        queue_.pop_front();
        f();
    }
    if (!queue_.empty() || terminated_) return;

    const bool leaving = leaveAtFrame >= 0 && flip >= leaveAtFrame;
    switch (screen) {
        case Screen::GameOver:
            ++stats.gameOvers;
            if (popupManager)
                ClickButtonOf(retryOnGameOver ? static_cast<const void*>(popupManager->retryButton.get())
                                              : static_cast<const void*>(popupManager->menuButton.get()));
            return;
        case Screen::Popup:
            if (popupManager && ClickButtonOf(popupManager->okButton.get())) ++stats.popupsClosed;
            return;
        case Screen::Menu: {
            const bool restart = wantRestart && !leaving;
            const TButton* b = MenuButton(leaving ? 23 : restart ? 21 : 20);
            if (b && ClickButtonOf(b)) {
                ++stats.menuClicks;
                if (restart) {
                    wantRestart = false;
                    ++stats.restarts;
                }
            }
            return;
        }
        case Screen::Tally:
            ++stats.tallyClicks;
            // Off the board: a click there drops nothing.
            ClickAt(790, 590);
            return;
        case Screen::Play:
            if (leaving || wantRestart) {
                pt::TapKey(plat::KEY_ESCAPE);
                Later(20, [] {});
                return;
            }
            Play();
            return;
        case Screen::Other:
            return;
    }
}

void BotPlayer::Play() {
    if (flip_ < nextDrop_) return;
    if (blocks->turnProgress != 0 || blocks->targetRotation != blocks->curRotation) return;
    const void* held = blocks->heldBlock.get();
    if (held != lastBlock_) {
        lastBlock_ = held;
        triesOnBlock_ = 0;
    }
    Move m;
    if (!ChooseLiveMove(m)) return;  // fits nowhere: the game's own test ends it
    if (m.rotation != blocks->curRotation) {
        // The turn key: one quarter clockwise per tap, heard once a turn has ended.
        pt::TapKey(plat::KEY_SPACE);
        ++stats.turns;
        Later(2, [] {});
        return;
    }
    if (++triesOnBlock_ > 4) {
        // The same block refused several drops: count it and wait a while
        // (a spell or the petrification may change the board).
        ++stats.failedDrops;
        triesOnBlock_ = 0;
        nextDrop_ = flip_ + 60;
        return;
    }
    int px, py;
    if (!PointerForCell(*board, m.x, m.y, px, py)) return;
    pt::SetMouse(px, py);
    Later(1, [] { pt::ClickMouse(plat::MOUSE_LEFT); });
    Later(3, [] {});
    ++stats.drops;
    nextDrop_ = flip_ + pace;
}

}  // namespace quill_bot
