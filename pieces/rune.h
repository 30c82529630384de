// The rune catalogue: every kind of rune tile, read once from "razod.tsc" in
// the settings archive, and reached through the global `razod`.
//
// Ids and colour classes are kept as the text the file wrote; every lookup
// by number compares the decimal text of that number, so "07" never matches 7.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "config/tsc_file.h"
#include "platform/image.h"

class TRune {
public:
    std::string id;
    std::string color;        // colour class: runes of one class match
    plat::ImagePtr image;     // for 32-pixel cells; a catalogue rune always has one
    plat::ImagePtr image40;   // for 40-pixel cells; may be missing
    std::string title;
    std::string description;
    int32_t blocked = 0;      // non-zero: a stone
    std::string unblocked;    // a stone's plain rune id
    std::string blockedID;    // the stone this rune petrifies into
    int32_t width = 0;
    int32_t height = 0;
    int32_t redLo = 0, greenLo = 0, blueLo = 0;
    int32_t redHi = 0, greenHi = 0, blueHi = 0;
};
using TRunePtr = std::shared_ptr<TRune>;

class TRuneManager {
public:
    TTSCFilePtr runeFile = CreateTSCFile();
    std::vector<TRunePtr> runeList;  // file order; lookups take the first match

    // Reads "razod.tsc" of "data/settings.bca". A missing "Quantity",
    // "width", "height" or "blocked" raises the configuration's missing-key
    // error; a rune whose 32-pixel picture cannot be loaded is left out.
    int loadRazodGfx();
    // Reads the catalogue from a configuration already in memory (the
    // loader's second half; tests feed texts through it).
    int loadFrom(const TTSCFilePtr& file);

    // The 40-pixel picture when the board's cells are 40 pixels, else the
    // 32-pixel one, under the caller's drawing state. Unknown ids draw
    // nothing, and so does a rune without a 40-pixel picture at that size.
    int Draw(int runeId, float x, int y);
    int isBlocked(int runeId);
    // 0 for an id that is not in the catalogue or has no "unblocked" text.
    int unblocked(int runeId);
    int getRuneColor(const std::string& runeId);
    TRunePtr _findRuneByID(const std::string& id);
    // A random tint component (channel 1 red, 2 green, 3 blue) from the
    // first non-stone rune of the colour class; 0 when there is none.
    int getRuneRGB(int color, int channel);
    // One spark of the colour class at a board cell (or at px / py where
    // they are non-zero). Only classes from 10 on drift with the velocity.
    int particleRune(int color, int cellX, int cellY, float velX, float velY, int px, int py);
};

extern std::shared_ptr<TRuneManager> razod;

// getRuneColor and getRuneRGB of the loaded catalogue; 0 before the runes
// are loaded.
int RuneColour(int runeId);
int RuneRGB(int colour, int channel);
// A RuneRGB tint with each shade moved by up to 20 either way. One draw per
// statement: each shade is drawn before its jitter, which keeps a seeded
// run's sequence.
void JitteredRuneRGB(int colour, int& r, int& g, int& b);
