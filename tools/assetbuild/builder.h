// The asset builder's recipe registry.
//
// A recipe makes one or more files of the application folder. Each recipe
// module (art_*.cpp, fonts.cpp, and later sounds and data) registers its
// recipes with QAB_RECIPES; main runs them. A recipe's key is a hash of its
// name, its parameter text, its input files and the source digests of its
// module and of the shared kit, so an output is remade exactly when what
// makes it changed.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "paint.h"

namespace qab {

struct Context;

struct Recipe {
    std::string name;                  // unique, e.g. "gfx/gui/kursor"
    std::vector<std::string> outputs;  // paths relative to the application folder
    std::string params;                // anything that changes the result
    std::vector<std::string> inputs;   // absolute paths of files read (fonts, assets)
    std::function<void(Context&)> make;
    std::string moduleDigest;          // filled in by QAB_RECIPES
};

// What a running recipe may use.
struct Context {
    const Recipe& recipe;
    std::string outDir;     // application folder
    std::string assetsDir;  // source tree's assets/
    Rng rng;                // seeded from the recipe's name
    uint32_t seed;          // a 32-bit seed from the same name, for noise

    // Full path of an output; throws when the recipe did not declare it.
    std::string Out(const std::string& rel) const;
    void Png(const Canvas& c, const std::string& rel, bool alpha = true) const;
    void Jpeg(const Canvas& c, const std::string& rel, int quality = 90) const;
    void Copy(const std::string& src, const std::string& rel) const;
    void WriteBytes(const std::string& rel, const void* data, size_t size) const;
};

using RegisterFn = void (*)(std::vector<Recipe>&);
struct ModuleRegistrar {
    ModuleRegistrar(const char* digest, RegisterFn fn);
};
// Every registered module, in no particular order; main sorts the recipes.
std::vector<Recipe> AllRecipes();

// The source tree's assets/ folder (--assets), set before the modules register,
// for recipes whose inputs are files under it. Empty when not given.
const std::string& AssetsDir();
void SetAssetsDir(const std::string& dir);

// Convenience for the common case of one picture per recipe.
Recipe Picture(const std::string& path, std::function<void(Context&)> make, const std::string& params = {});

}  // namespace qab

#ifndef QAB_MODULE_DIGEST
#define QAB_MODULE_DIGEST "dev"
#endif
#define QAB_CAT2(a, b) a##b
#define QAB_CAT(a, b) QAB_CAT2(a, b)
// Registers a module's recipes: QAB_RECIPES(fn) with fn(std::vector<Recipe>&).
#define QAB_RECIPES(fn) static ::qab::ModuleRegistrar QAB_CAT(qabRegistrar_, __LINE__)(QAB_MODULE_DIGEST, fn)
