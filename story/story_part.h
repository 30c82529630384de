// One part of the illustrated story: the member "part-<n>.tsc" of
// "data/story.bca", with its header (page count, voice and the time the
// voice is stopped after) and its pages (picture, picture y, lines of text,
// time before the page turns by itself).
//
// Everything is read when the part is loaded, so a key the file lacks is
// reported once, before the pages show, and a safe value stands in for it:
// a part is never worth ending the game over.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "config/tsc_file.h"
#include "platform/image.h"

struct TStoryPage {
    std::string picture;  // the "Picture" text as written ("<<": the page before's picture)
    int posY = 0;
    int lineCount = 0;    // 0..6
    std::array<std::string, 6> lines{};
    int time = -1;        // ms before the page turns by itself; negative never
};

class TStoryPart {
public:
    static constexpr const char* kArchive = "data/story.bca";
    static constexpr int kMaxPages = 26;
    static constexpr int kMaxLines = 6;

    int number = 0;
    int pageCount = 1;  // 1..26
    std::string voice;  // "" no voice
    int voiceStopAfter = 0;
    std::vector<TStoryPage> pages;  // pageCount entries, page i at i - 1
    // Page i's picture in slot i - 1; a "<<" page shares the slot before's
    // picture object. Null where a picture did not load.
    std::array<plat::ImagePtr, kMaxPages> pictures{};
    // The keys that were missing, as "<group>::<key>", in reading order.
    std::vector<std::string> missing;

    static std::string MemberName(int part);

    // Reads the part from the archive and reports what the file lacked: in a
    // message box when the file itself loaded, else (its own box was shown)
    // on standard output. Pictures are not loaded.
    int Load(int part);
    // Reads the part from a configuration in memory. Values out of range are
    // brought into it (pages 1..26, lines 0..6) with a line on standard output.
    int Read(const TTSCFilePtr& file, int part);
    // Loads the pages' pictures by the "<<" rule (flags 0).
    int LoadPictures();
    // The text that reports the missing keys; "" when none was.
    std::string MissingReport() const;
};
