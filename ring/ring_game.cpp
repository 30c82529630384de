// The ring level file, its intro popups, the rune sequences and a game's
// starting values.
#include <algorithm>

#include "config/bca.h"
#include "config/tsc_file.h"
#include "core/helpers.h"
#include "platform/app.h"
#include "platform/rng.h"
#include "platform/stream.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ring/ring_game.h"

TRingGamePtr ringGame;

int ClampSequenceLength(int length) { return std::clamp(length, 1, TRingGame::kRunes); }

namespace {

// A member that cannot be read leaves the configuration empty; the caller
// reads on from it.
int LoadMember(const TTSCFilePtr& file, const std::string& archive, const std::string& member) {
    try {
        return LoadTSCFileBB(file, archive, member);
    } catch (const plat::StreamReadError& e) {
        plat::Print("Ring level " + member + ": the archive " + archive + " is cut short (" + e.what() + ")");
        return 0;
    }
}

}  // namespace

int TRingGame::Load(const std::string& fileName) {
    // A level never shows the intro popups of one loaded before it.
    popups.clear();
    TTSCFilePtr file = CreateTSCFile();
    const int loaded = LoadMember(file, kArchive, fileName);

    // A number the file lacks is reported once and a safe value used: a
    // ring level is never worth ending the game over.
    std::vector<std::string> missing;
    auto number = [&](const char* key, float fallback) {
        try {
            return GetTSCNumberKey(file, "Settings", key, 0);
        } catch (const TSCError&) {
            missing.push_back(key);
            return fallback;
        }
    };
    musicName = GetTSCStringKey(file, "Settings", "Music", 0);
    Time = number("Time", 60000.0f);
    const int length = plat::TruncToInt(number("SequenceLength", 4.0f));
    AvailableSpells = splitString(GetTSCStringKey(file, "Settings", "AvailableSpells", 0), " ");
    const int runeTime = plat::TruncToInt(number("RuneTime", 6000.0f));
    const int levelNumber = plat::TruncToInt(number("LevelNumber", 0.0f));
    if (!missing.empty()) {
        std::string keys;
        for (const std::string& k : missing) keys += (keys.empty() ? "" : ", ") + k;
        const std::string text = "The ring level " + fileName + " lacks " + keys + "; defaults are used";
        // A file that did not load at all has had its message box already.
        if (loaded != 0) plat::Notify(text);
        else plat::Print(text);
    }
    // The sequence has twenty slots and the centre ball shows the rune at
    // `position`, which must exist.
    const int clamped = ClampSequenceLength(length);
    if (clamped != length)
        plat::Print("Ring level " + fileName + ": a sequence of " + std::to_string(length) +
                    " runes is outside 1 to 20; played with " + std::to_string(clamped));
    levelSequenceLast = clamped - 1;
    RuneTime = std::clamp(runeTime, kMinRuneTime, kMaxRuneTime);
    if (RuneTime != runeTime)
        plat::Print("Ring level " + fileName + ": a rune time of " + std::to_string(runeTime) + " ms is outside " +
                    std::to_string(kMinRuneTime) + " to " + std::to_string(kMaxRuneTime) + "; played with " +
                    std::to_string(RuneTime));

    TTSCFilePtr info = CreateTSCFile();
    LoadMember(info, TPopup::kArchive, kPopupMember);
    if (auto groups = GetTSCGroupList(info, "")) {
        for (const TTSCGroupPtr& group : *groups) {
            float popupLevel = 0.0f;
            try {
                popupLevel = GetTSCNumberKey(info, group->KeyPath(), "Level", 0);
            } catch (const TSCError& e) {
                plat::Print("Popup " + group->KeyPath() + ": " + e.Text() + "; popup skipped");
                continue;
            }
            if (popupLevel != static_cast<float>(levelNumber)) continue;
            if (TPopupPtr p = TPopup::Create(info, group)) popups.push_back(p);
        }
    }
    return 0;
}

int TRingGame::createSequence(int last) {
    last = ClampSequenceLength(last + 1) - 1;
    position = 0;
    sequenceLast = last;
    sequence.fill(-1);
    for (int i = 0; i <= last; ++i) {
        int r = plat::Rand(0, kRunes - 1);
        const int previous = i == 0 ? 0 : sequence[static_cast<size_t>(i - 1)];
        if (r == previous) r = (r + 2) % kRunes;
        sequence[static_cast<size_t>(i)] = r;
    }
    return 0;
}

int TRingGame::resetParams() {
    position = 0;
    sequenceLast = 0;
    ballAlpha = 0.0f;
    ballScale = 3.0f;
    ringAngle = 90.0f;
    ringScale = 5.5f;
    ringAlpha = 0.0f;
    ringSpin = 5.0f;
    ringState = kRingIn;
    pendulumY = 140.0f;
    pendulumAngle = 0.0f;
    pendulumClock = 0.0f;
    progress = 0.0f;
    hoverRune = -1;
    completedAt = -1;
    startTime = plat::MilliSecs();
    received = 0;
    // Each row starts 48 pixels further out and runs 6 frames longer, so a
    // column's slips all reach the same x when their delay runs out.
    for (int k = 0; k < 5; ++k) {
        const int y = 95 + 100 * k;
        const int delay = 30 + 6 * k;
        tiles[static_cast<size_t>(k)] = {static_cast<float>(-100 - 48 * k), y, 8.0f, delay};
        tiles[static_cast<size_t>(5 + k)] = {static_cast<float>(-200 - 48 * k), y, 8.0f, delay};
        tiles[static_cast<size_t>(10 + k)] = {static_cast<float>(900 + 48 * k), y, -8.0f, delay};
        tiles[static_cast<size_t>(15 + k)] = {static_cast<float>(1000 + 48 * k), y, -8.0f, delay};
    }
    return 0;
}
