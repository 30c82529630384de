// Data archives: the .tsc texts under assets/data/<archive>/ packed with our
// packer into data/<archive>.bca. Every text is checked against the authoring
// rules and parsed with the game's own reader before it is packed.
//
// Index: checks · recipes
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "builder.h"
#include "config/bca_writer.h"
#include "config/tsc_file.h"
#include "datasrc.hpp"

namespace qab {
namespace {

namespace fs = std::filesystem;

// The six archives the game opens; a missing one ends the game at start-up.
const char* const kArchives[] = {"settings", "razod_levels", "puzzle_levels", "ring_levels", "popups", "story"};

// ---- checks -----------------------------------------------------------------------------
std::string ReadText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The rules every data text keeps: not empty, ends with a line break, no
// semicolon anywhere (the reader rejects it even where a value may stand),
// and it parses with the game's reader.
void CheckText(const std::string& path, const std::string& text) {
    const std::string name = fs::path(path).filename().string();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) throw std::runtime_error(name + " is empty");
    if (text.back() != '\n') throw std::runtime_error(name + " does not end with a line break");
    if (text.find(';') != std::string::npos) throw std::runtime_error(name + " holds a ';'");
    try {
        TTSCFile f;
        f.Load(path);
    } catch (const std::exception& e) {
        throw std::runtime_error(name + ": " + e.what());
    }
}

std::vector<std::string> Members(const std::string& dir) {
    std::vector<std::string> files;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file() && e.path().extension() == ".tsc") files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// ---- recipes --------------------------------------------------------------------------------
void All(std::vector<Recipe>& out) {
    const std::string root = DataSourceDir();
    for (const char* archive : kArchives) {
        const std::string path = std::string("data/") + archive + ".bca";
        Recipe r;
        r.name = path;
        r.outputs = {path};
        r.inputs = Members(root + "/" + archive);
        // The member list itself is part of the recipe: adding or removing a
        // text remakes the archive.
        for (const std::string& in : r.inputs) r.params += fs::path(in).filename().string() + " ";
        const std::vector<std::string> inputs = r.inputs;
        r.make = [inputs, path, archive](Context& ctx) {
            if (inputs.empty()) throw std::runtime_error(std::string("no data texts for ") + archive);
            std::vector<std::pair<std::string, std::string>> members;
            for (const std::string& in : inputs) {
                std::string text = ReadText(in);
                CheckText(in, text);
                members.emplace_back(fs::path(in).filename().string(), std::move(text));
            }
            const std::string bytes = bca::PackArchive(members);
            ctx.WriteBytes(path, bytes.data(), bytes.size());
        };
        out.push_back(std::move(r));
    }
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
