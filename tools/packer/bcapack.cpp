// bcapack: packs .tsc texts into a .bca archive the game reads.
//
//   bcapack [-b BLOCKSIZE] [-p MAXPASSES] [-q] OUTPUT.bca INPUT.tsc...
//
// Each input is stored under its file name (without folders) plus ".bbc", in
// the order given. Every member is checked against the game's reader before
// the archive is written.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "config/bca_writer.h"
#include "platform/files.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: bcapack [-b BLOCKSIZE] [-p MAXPASSES] [-q] OUTPUT.bca INPUT.tsc...\n");
    return 2;
}

bool ParseInt(const char* s, int lo, int hi, int& out) {
    char* end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (!end || *end != '\0' || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bca::PackOptions options;
    bool quiet = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-b" && i + 1 < argc) {
            if (!ParseInt(argv[++i], 1, 1 << 24, options.blockSize)) return Usage();
        } else if (a == "-p" && i + 1 < argc) {
            if (!ParseInt(argv[++i], 1, 255, options.maxPasses)) return Usage();
        } else if (a == "-q") {
            quiet = true;
        } else if (!a.empty() && a[0] == '-') {
            return Usage();
        } else {
            args.push_back(a);
        }
    }
    if (args.size() < 2) return Usage();

    std::vector<std::pair<std::string, std::string>> members;
    size_t total = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string text;
        if (!plat::LoadText(args[i], text)) {
            std::fprintf(stderr, "bcapack: cannot read %s\n", args[i].c_str());
            return 1;
        }
        total += text.size();
        members.emplace_back(plat::StripDir(args[i]), std::move(text));
    }
    std::string archive;
    try {
        archive = bca::PackArchive(members, options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bcapack: %s\n", e.what());
        return 1;
    }
    // Written beside the target and renamed over it: a failed run never
    // leaves a broken archive behind.
    const std::string tmp = args[0] + ".bcapack.tmp";
    if (!plat::SaveText(tmp, archive) || !plat::RenameFile(tmp, args[0])) {
        plat::DeleteFile(tmp);
        std::fprintf(stderr, "bcapack: cannot write %s\n", args[0].c_str());
        return 1;
    }
    if (!quiet)
        std::printf("bcapack: %s: %zu members, %zu bytes of text -> %zu bytes (%.1f%%)\n", args[0].c_str(),
                    members.size(), total, archive.size(), total ? 100.0 * archive.size() / total : 100.0);
    return 0;
}
