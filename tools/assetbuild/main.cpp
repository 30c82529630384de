// quill_assetbuild: makes every file of the application folder from our
// recipes, remaking only the outputs whose recipe changed, and draws contact
// sheets of all the pictures.
//
//   quill_assetbuild --out DIR [--contact DIR] [--assets DIR] [--jobs N]
//                    [--force] [--only TEXT] [--list]
//
// Index: registry · context · manifest · contact sheets · main
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "builder.h"

#ifndef QAB_COMMON_DIGEST
#define QAB_COMMON_DIGEST "dev"
#endif

namespace fs = std::filesystem;

namespace qab {

// ---- registry -------------------------------------------------------------------
namespace {
struct Module {
    const char* digest;
    RegisterFn fn;
};
std::vector<Module>& Modules() {
    static std::vector<Module> m;
    return m;
}
}  // namespace

ModuleRegistrar::ModuleRegistrar(const char* digest, RegisterFn fn) { Modules().push_back({digest, fn}); }

namespace {
std::string& AssetsDirStore() {
    static std::string dir;
    return dir;
}
}  // namespace
const std::string& AssetsDir() { return AssetsDirStore(); }
void SetAssetsDir(const std::string& dir) { AssetsDirStore() = dir; }

std::vector<Recipe> AllRecipes() {
    std::vector<Recipe> all;
    for (const Module& m : Modules()) {
        std::vector<Recipe> part;
        m.fn(part);
        for (Recipe& r : part) {
            r.moduleDigest = m.digest;
            all.push_back(std::move(r));
        }
    }
    std::sort(all.begin(), all.end(), [](const Recipe& a, const Recipe& b) { return a.name < b.name; });
    return all;
}

Recipe Picture(const std::string& path, std::function<void(Context&)> make, const std::string& params) {
    Recipe r;
    r.name = path;
    r.outputs = {path};
    r.params = params;
    r.make = std::move(make);
    return r;
}

// ---- context --------------------------------------------------------------------
std::string Context::Out(const std::string& rel) const {
    bool declared = false;
    for (const std::string& o : recipe.outputs) declared |= (o == rel);
    if (!declared) throw std::runtime_error("recipe " + recipe.name + " writes undeclared output " + rel);
    fs::path p = fs::path(outDir) / rel;
    fs::create_directories(p.parent_path());
    return p.string();
}
void Context::Png(const Canvas& c, const std::string& rel, bool alpha) const { WritePNG(c, Out(rel), alpha); }
void Context::Jpeg(const Canvas& c, const std::string& rel, int quality) const { WriteJPEG(c, Out(rel), quality); }
void Context::Copy(const std::string& src, const std::string& rel) const {
    std::string dst = Out(rel);
    fs::copy_file(src, dst, fs::copy_options::overwrite_existing);
}
void Context::WriteBytes(const std::string& rel, const void* data, size_t size) const {
    std::ofstream f(Out(rel), std::ios::binary | std::ios::trunc);
    f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!f) throw std::runtime_error("cannot write " + rel);
}

// ---- manifest -------------------------------------------------------------------
namespace {
const char* kManifest = ".assetbuild-manifest";

std::string Hex64(uint64_t v) {
    char b[17];
    std::snprintf(b, sizeof b, "%016llx", static_cast<unsigned long long>(v));
    return b;
}

uint64_t FileDigest(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("missing input file " + path);
    std::string data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    return Hash64(data);
}

std::string RecipeKey(const Recipe& r) {
    uint64_t h = Hash64(r.name);
    h = Hash64(std::string(1, '\0') + r.params, h);
    h = Hash64(std::string(1, '\0') + r.moduleDigest, h);
    h = Hash64(std::string(1, '\0') + QAB_COMMON_DIGEST, h);
    for (const std::string& in : r.inputs) h = Hash64(Hex64(FileDigest(in)), h);
    for (const std::string& o : r.outputs) h = Hash64(std::string(1, '\0') + o, h);
    return Hex64(h);
}

std::map<std::string, std::string> ReadManifest(const std::string& dir) {
    std::map<std::string, std::string> m;
    std::ifstream f(fs::path(dir) / kManifest);
    std::string key, name;
    while (f >> key >> name) m[name] = key;
    return m;
}

void WriteManifest(const std::string& dir, const std::map<std::string, std::string>& m) {
    fs::path tmp = fs::path(dir) / (std::string(kManifest) + ".tmp");
    {
        std::ofstream f(tmp, std::ios::trunc);
        for (const auto& [name, key] : m) f << key << ' ' << name << '\n';
    }
    fs::rename(tmp, fs::path(dir) / kManifest);
}

bool IsPicture(const std::string& p) {
    auto ends = [&](const char* e) {
        size_t n = std::strlen(e);
        return p.size() >= n && p.compare(p.size() - n, n, e) == 0;
    };
    return ends(".png") || ends(".jpg");
}
}  // namespace

// ---- contact sheets ----------------------------------------------------------------
namespace {
struct Thumb {
    std::string path;
    int w = 0, h = 0;
    bool alpha = false, ok = false;
    std::vector<uint32_t> px;
};

void DrawThumb(Canvas& sheet, const Thumb& t, double x, double y, double cellW, double cellH) {
    cairo_t* cr = sheet.cr;
    // Checkerboard so transparency shows.
    cairo_save(cr);
    cairo_rectangle(cr, x, y, cellW, cellH);
    cairo_clip(cr);
    for (int cy = 0; cy < cellH; cy += 8)
        for (int cx = 0; cx < cellW; cx += 8) {
            SetColor(cr, ((cx / 8 + cy / 8) % 2) ? Hex(0x3a3a44) : Hex(0x2c2c34));
            cairo_rectangle(cr, x + cx, y + cy, 8, 8);
            cairo_fill(cr);
        }
    if (t.ok) {
        cairo_surface_t* s = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(t.px.data())), CAIRO_FORMAT_ARGB32, t.w, t.h,
            t.w * 4);
        double sc = std::min({cellW / t.w, cellH / t.h, 3.0});
        double dw = t.w * sc, dh = t.h * sc;
        cairo_translate(cr, x + (cellW - dw) / 2, y + (cellH - dh) / 2);
        cairo_scale(cr, sc, sc);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), sc >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_surface_destroy(s);
    } else {
        SetColor(cr, Hex(0xff3030));
        cairo_rectangle(cr, x, y, cellW, cellH);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void Label(Canvas& sheet, double x, double y, const std::string& text, double px, RGB c) {
    cairo_new_path(sheet.cr);
    TextPath(sheet.cr, F_SERIF_BOLD, px, x, y, text);
    SetColor(sheet.cr, c);
    cairo_fill(sheet.cr);
}

void WriteContactSheets(const std::string& outDir, const std::string& contactDir,
                        const std::vector<std::string>& pictures) {
    fs::create_directories(contactDir);
    // Group by folder.
    std::map<std::string, std::vector<std::string>> groups;
    for (const std::string& p : pictures) groups[fs::path(p).parent_path().string()].push_back(p);
    const int cols = 6, cellW = 220, cellH = 160, labelH = 34, pad = 12, perPage = 48;
    for (auto& [folder, paths] : groups) {
        std::string base = folder;
        for (char& ch : base)
            if (ch == '/' || ch == '\\') ch = '_';
        for (size_t page = 0; page * perPage < paths.size(); ++page) {
            size_t n = std::min<size_t>(perPage, paths.size() - page * perPage);
            int rows = static_cast<int>((n + cols - 1) / cols);
            int W = pad + cols * (cellW + pad), H = 60 + rows * (cellH + labelH + pad) + pad;
            Canvas sheet(W, H);
            SetColor(sheet.cr, Hex(0x15151c));
            cairo_paint(sheet.cr);
            Label(sheet, pad, 38, folder + "/" + (page ? "  (page " + std::to_string(page + 1) + ")" : ""), 26,
                  Hex(0xf0d890));
            for (size_t i = 0; i < n; ++i) {
                Thumb t;
                t.path = paths[page * perPage + i];
                t.ok = ReadImageFile((fs::path(outDir) / t.path).string(), t.w, t.h, t.px, t.alpha);
                double x = pad + (i % cols) * (cellW + pad), y = 60 + (i / cols) * (cellH + labelH + pad);
                DrawThumb(sheet, t, x, y, cellW, cellH);
                Label(sheet, x, y + cellH + 14, fs::path(t.path).filename().string(), 12, Hex(0xe8e8f0));
                std::string info = t.ok ? std::to_string(t.w) + "x" + std::to_string(t.h) + (t.alpha ? " alpha" : "")
                                        : "MISSING";
                Label(sheet, x, y + cellH + 29, info, 11, t.ok ? Hex(0x90a0c0) : Hex(0xff6060));
            }
            std::string name = "contact-" + base + (page ? "-" + std::to_string(page + 1) : "") + ".png";
            WritePNG(sheet, (fs::path(contactDir) / name).string(), false);
        }
    }
}
}  // namespace

}  // namespace qab

// ---- main --------------------------------------------------------------------------
int main(int argc, char** argv) {
    using namespace qab;
    std::string out, contact, assets, only;
    int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool force = false, list = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "assetbuild: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--out") out = next();
        else if (a == "--contact") contact = next();
        else if (a == "--assets") assets = next();
        else if (a == "--jobs") jobs = std::max(1, std::atoi(next().c_str()));
        else if (a == "--only") only = next();
        else if (a == "--force") force = true;
        else if (a == "--list") list = true;
        else if (a == "--preview") {
            // Re-encodes any picture as PNG, for looking at JPEGs during art work.
            std::string src = next(), dst = next();
            int w = 0, h = 0;
            bool alpha = false;
            std::vector<uint32_t> px;
            if (!ReadImageFile(src, w, h, px, alpha)) return 1;
            Canvas c(w, h);
            uint32_t* d = c.Pixels();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) d[y * c.Stride() + x] = px[static_cast<size_t>(y) * w + x];
            c.Flush();
            WritePNG(c, dst, alpha);
            return 0;
        }
        else {
            std::fprintf(stderr, "usage: %s --out DIR [--contact DIR] [--assets DIR] [--jobs N] [--force] "
                                 "[--only TEXT] [--list] | --preview PICTURE OUT.png\n", argv[0]);
            return 2;
        }
    }
    std::vector<Recipe> recipes;
    SetAssetsDir(assets);
    try {
        recipes = AllRecipes();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetbuild: %s\n", e.what());
        return 1;
    }
    // Two recipes must never write the same file.
    {
        std::set<std::string> seen;
        for (const Recipe& r : recipes)
            for (const std::string& o : r.outputs)
                if (!seen.insert(o).second) {
                    std::fprintf(stderr, "assetbuild: %s is made by two recipes\n", o.c_str());
                    return 1;
                }
    }
    if (list) {
        for (const Recipe& r : recipes)
            for (const std::string& o : r.outputs) std::printf("%s\n", o.c_str());
        return 0;
    }
    if (out.empty()) {
        std::fprintf(stderr, "assetbuild: --out is required\n");
        return 2;
    }
    auto t0 = std::chrono::steady_clock::now();
    try {
        CheckFonts();
        fs::create_directories(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetbuild: %s\n", e.what());
        return 1;
    }
    std::map<std::string, std::string> manifest = ReadManifest(out);
    std::vector<const Recipe*> todo;
    std::vector<std::string> keys(recipes.size());
    for (size_t i = 0; i < recipes.size(); ++i) {
        const Recipe& r = recipes[i];
        if (!only.empty() && r.name.find(only) == std::string::npos) continue;
        try {
            keys[i] = RecipeKey(r);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "assetbuild: %s: %s\n", r.name.c_str(), e.what());
            return 1;
        }
        bool present = true;
        for (const std::string& o : r.outputs) present &= fs::exists(fs::path(out) / o);
        auto it = manifest.find(r.name);
        if (force || !present || it == manifest.end() || it->second != keys[i]) todo.push_back(&r);
    }
    // QAB_TIMING=1 prints each recipe's time, to find the slow ones.
    const bool timing = std::getenv("QAB_TIMING") != nullptr;
    std::atomic<size_t> next{0};
    std::atomic<int> failures{0};
    std::set<std::string> failed;
    std::mutex lock;
    auto worker = [&]() {
        for (;;) {
            size_t k = next.fetch_add(1);
            if (k >= todo.size()) return;
            const Recipe& r = *todo[k];
            Context ctx{r, out, assets, Rng(r.name), static_cast<uint32_t>(Hash64(r.name) & 0xFFFFFFF)};
            auto started = std::chrono::steady_clock::now();
            try {
                r.make(ctx);
                if (timing) {
                    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                                    .count();
                    std::lock_guard<std::mutex> g(lock);
                    std::fprintf(stderr, "%8.1f ms  %s\n", ms, r.name.c_str());
                }
                for (const std::string& o : r.outputs)
                    if (!fs::exists(fs::path(out) / o)) throw std::runtime_error("did not write " + o);
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> g(lock);
                std::fprintf(stderr, "assetbuild: %s: %s\n", r.name.c_str(), e.what());
                failed.insert(r.name);
                ++failures;
            }
        }
    };
    std::vector<std::thread> pool;
    int n = std::min<int>(jobs, static_cast<int>(std::max<size_t>(1, todo.size())));
    for (int i = 0; i < n; ++i) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    if (failures) std::fprintf(stderr, "assetbuild: %d recipe(s) failed\n", failures.load());
    // Record what is now up to date (a failed recipe keeps no key).
    for (size_t i = 0; i < recipes.size(); ++i) {
        const Recipe& r = recipes[i];
        if (keys[i].empty()) continue;
        bool ok = true;
        for (const std::string& o : r.outputs) ok &= fs::exists(fs::path(out) / o);
        // A failed recipe keeps no key, so the next run retries it.
        if (ok && !failed.count(r.name)) manifest[r.name] = keys[i];
        else manifest.erase(r.name);
    }
    WriteManifest(out, manifest);

    if (!contact.empty() && (!todo.empty() || !fs::exists(contact))) {
        std::vector<std::string> pics;
        for (const Recipe& r : recipes)
            for (const std::string& o : r.outputs)
                if (IsPicture(o)) pics.push_back(o);
        std::sort(pics.begin(), pics.end());
        try {
            WriteContactSheets(out, contact, pics);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "assetbuild: contact sheets: %s\n", e.what());
            return 1;
        }
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!todo.empty())
        std::printf("assetbuild: made %zu of %zu recipes in %.1f s\n", todo.size(), recipes.size(), secs);
    return failures ? 1 : 0;
}
