// Our packer for the .bca data archives (the game itself only reads them).
// Used by the asset builder, the bcapack command and the tests.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace bca {

struct PackOptions {
    // Block size of every pass; 0 tries a few sizes and keeps the smallest
    // result.
    int blockSize = 0;
    // Passes are added while each one still makes the member smaller, up to
    // this many (1..255).
    int maxPasses = 16;
};

// One pass: the input's length (int32 LE), its full blocks, then the raw
// tail. A block holds one pattern where that pays and is stored where not.
std::string EncodePass(const std::string& input, int blockSize);

// A packed member: the text's length, the pass count, the block size and the
// outermost pass stream. Checked against the reader before it is returned.
// Raises std::invalid_argument for a text too long for the format.
std::string PackMember(const std::string& text, const PackOptions& options = {});

// A whole archive from (.tsc name, text) pairs, in the given order; each
// member is stored under its name with ".bbc" appended. Raises
// std::invalid_argument when two names are equal but for the case of A-Z
// (the reader would only ever find the first), or a name is empty.
std::string PackArchive(const std::vector<std::pair<std::string, std::string>>& members);
std::string PackArchive(const std::vector<std::pair<std::string, std::string>>& members, const PackOptions& options);

}  // namespace bca
