// The block catalogue, the level's lists and the rotate sound; the life of the
// held block is in held_block.cpp.
#include "pieces/blocks.h"

#include <algorithm>

#include "config/bca.h"
#include "core/helpers.h"
#include "platform/app.h"
#include "platform/text.h"

std::shared_ptr<TBlocksManager> blocks;

int TBlocksManager::loadBlocksDef() {
    blocksFile = CreateTSCFile();
    LoadTSCFileBB(blocksFile, "data/settings.bca", "blocks.tsc");
    // Released even when a missing key ends the load half-way.
    TTSCFilePtr file = std::move(blocksFile);
    blocksFile = nullptr;
    return loadBlocksFrom(file);
}

int TBlocksManager::loadBlocksFrom(const TTSCFilePtr& file) {
    const int count = plat::TruncToInt(GetTSCNumberKey(file, "List", "Quantity", 0));
    for (int n = 1; n <= count; ++n) {
        const std::string group = "List::Block" + std::to_string(n);
        auto block = std::make_shared<TBlock>();
        block->id = GetTSCStringKey(file, group, "id", 0);
        block->width = plat::TruncToInt(GetTSCNumberKey(file, group, "width", 0));
        block->height = plat::TruncToInt(GetTSCNumberKey(file, group, "height", 0));
        block->pieces = plat::TruncToInt(GetTSCNumberKey(file, group, "pieces", 0));
        block->title = GetTSCStringKey(file, group, "title", 0);
        block->description = GetTSCStringKey(file, group, "description", 0);
        for (int j = 1; j <= block->pieces; ++j) {
            const std::string key = "piece" + std::to_string(j);
            const int column = plat::TruncToInt(GetTSCNumberKey(file, group, key, 0));
            const int row = plat::TruncToInt(GetTSCNumberKey(file, group, key, 1));
            if (column < 0 || column > 3 || row < 0 || row > 3) {
                plat::Print("blocks.tsc: " + group + "::" + key + " lies outside the 4 x 4 grid (" +
                            std::to_string(column) + ", " + std::to_string(row) + "); skipped");
                continue;
            }
            block->cells[column][row] = 1;
        }
        blockDefs.push_back(std::move(block));
    }
    return 0;
}

int TBlocksManager::loadSfx() {
    rotateSound = plat::LoadSound("sfx/fx/playgame-szur1.ogg", 0);
    return 0;
}

TBlockPtr TBlocksManager::_findBlockByID(const std::string& id) {
    for (const TBlockPtr& b : blockDefs)
        if (b->id == id) return b;
    return nullptr;
}

int TBlocksManager::setAvailableRazod(const std::string& text) {
    availableRazod = splitString(text, " ");
    return 0;
}

int TBlocksManager::setAvailableBlocks(const std::string& text) {
    availableBlocks = splitString(text, " ");
    return 0;
}

std::string TBlocksManager::availabilityProblem() {
    if (availableRazod.empty()) return "the list of available runes (AvailableRazod) is empty";
    // The board keeps only positive rune ids: a block dealt from a list of
    // empty, zero or negative ids would be put down as nothing, forever.
    const bool placeable = std::any_of(availableRazod.begin(), availableRazod.end(),
                                       [](const std::string& id) { return plat::ToInt(id) > 0; });
    if (!placeable)
        return "the list of available runes (AvailableRazod) holds no rune id above 0 that a block could carry";
    if (availableBlocks.empty()) return "the list of available blocks (AvailableBlocks) is empty";
    for (const std::string& id : availableBlocks)
        if (!_findBlockByID(id)) return "the available block \"" + id + "\" is not in blocks.tsc";
    return "";
}
