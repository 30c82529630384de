#include "story/story_part.h"

#include <algorithm>

#include "config/bca.h"
#include "platform/app.h"
#include "platform/stream.h"
#include "platform/text.h"

std::string TStoryPart::MemberName(int part) { return "part-" + std::to_string(part) + ".tsc"; }

int TStoryPart::Load(int part) {
    TTSCFilePtr file = CreateTSCFile();
    int loaded = 0;
    try {
        loaded = LoadTSCFileBB(file, kArchive, MemberName(part));
    } catch (const plat::StreamReadError& e) {
        plat::Print("Story part " + std::to_string(part) + ": the archive is cut short (" + e.what() + ")");
    }
    Read(file, part);
    const std::string report = MissingReport();
    if (!report.empty()) {
        if (loaded != 0) plat::Notify(report);
        else plat::Print(report);
    }
    return loaded;
}

int TStoryPart::Read(const TTSCFilePtr& file, int part) {
    number = part;
    missing.clear();
    pages.clear();
    pictures.fill(nullptr);
    const std::string group = "Story" + std::to_string(part);
    auto readInt = [&](const std::string& path, const std::string& key, int fallback) {
        try {
            return plat::TruncToInt(GetTSCNumberKey(file, path, key, 0));
        } catch (const TSCError&) {
            missing.push_back(path + "::" + key);
            return fallback;
        }
    };

    GetTSCStringKey(file, group, "Music", 0);  // the story plays its own song
    const int pagesRead = readInt(group, "Pages", 1);
    pageCount = std::clamp(pagesRead, 1, kMaxPages);
    if (pageCount != pagesRead)
        plat::Print("Story part " + std::to_string(part) + ": " + std::to_string(pagesRead) +
                    " pages is outside 1 to 26; " + std::to_string(pageCount) + " are shown");
    voice = GetTSCStringKey(file, group, "Voice", 0);
    voiceStopAfter = 0;
    if (!voice.empty()) {
        const size_t before = missing.size();
        voiceStopAfter = readInt(group, "voiceStopAfter", 0);
        // Without a time to stop it the looping voice would never end: the
        // part is told without it.
        if (missing.size() != before) voice.clear();
    }

    for (int i = 1; i <= pageCount; ++i) {
        const std::string path = group + "::Page" + std::to_string(i);
        TStoryPage page;
        page.picture = GetTSCStringKey(file, path, "Picture", 0);
        page.posY = readInt(path, "PosY", 0);
        const int linesRead = readInt(path, "Lines", 0);
        page.lineCount = std::clamp(linesRead, 0, kMaxLines);
        if (page.lineCount != linesRead)
            plat::Print("Story " + path + ": " + std::to_string(linesRead) + " lines is outside 0 to 6; " +
                        std::to_string(page.lineCount) + " are shown");
        // A page without a time waits for the player.
        page.time = readInt(path, "Time", -1);
        for (int k = 1; k <= page.lineCount; ++k)
            page.lines[static_cast<size_t>(k - 1)] = GetTSCStringKey(file, path, "Line" + std::to_string(k), 0);
        pages.push_back(page);
    }
    return 0;
}

int TStoryPart::LoadPictures() {
    pictures.fill(nullptr);
    for (int i = 1; i <= pageCount && i <= static_cast<int>(pages.size()); ++i) {
        const std::string& name = pages[static_cast<size_t>(i - 1)].picture;
        if (i > 1 && name == "<<") {
            pictures[static_cast<size_t>(i - 1)] = pictures[static_cast<size_t>(i - 2)];
            continue;
        }
        pictures[static_cast<size_t>(i - 1)] = name.empty() ? nullptr : plat::LoadImage(name, 0);
        if (!pictures[static_cast<size_t>(i - 1)])
            plat::Print("Story part " + std::to_string(number) + ", page " + std::to_string(i) + ": the picture '" +
                        name + "' does not load");
    }
    return 0;
}

std::string TStoryPart::MissingReport() const {
    if (missing.empty()) return {};
    std::string keys;
    for (const std::string& k : missing) keys += (keys.empty() ? "" : ", ") + k;
    return "The story part " + MemberName(number) + " lacks " + keys + "; defaults are used";
}
