// One configuration in memory (TTSCFile), its lookups, setters and writer,
// and the free functions the rest of the game calls.
//
// Lookups ignore the case of A..Z only, compare paths whole and take the
// first match in list order. Values are kept as text; numbers are converted
// at every read.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include "config/tsc_lexer.h"
#include "config/tsc_parser.h"
#include "platform/stream.h"

class TTSCFile {
    std::shared_ptr<TTSCStore> store_ = std::make_shared<TTSCStore>();

public:
    // The records in order. Lookups, setters and the writer work on the
    // packed records a load leaves; reaching a list through * or -> makes
    // every record of that list once (see TTSCKeyListRef).
    TTSCKeyListRef keys{store_};
    TTSCGroupListRef groups{store_};

    TTSCKeyPtr ResolveKey(const std::string& path, const std::string& name) const;
    // Replaces the content with the parsed source. Raises TSCError (lexical
    // or syntax error, or a path that cannot be opened); the configuration is
    // then empty. A stream is read to its end and closed.
    int Load(const std::string& path);
    int Load(const plat::StreamPtr& stream);
    // The same from text in memory, which is parsed where it lies.
    int LoadText(std::string_view text);
    // Writes the configuration to a temporary file beside path and renames it
    // over path; on any failure the old file stays and a line is printed.
    int Save(const std::string& path) const;
    // The exact bytes Save writes.
    std::string SaveToString() const;

    std::string GetStringKey(const std::string& path, const std::string& name, int index) const;
    float GetNumberKey(const std::string& path, const std::string& name, int index) const;
    void SetStringKey(const std::string& path, const std::string& name, const std::string& value, int index);
    void SetNumberKey(const std::string& path, const std::string& name, float value, int index);
    std::shared_ptr<TTSCKeyList> GetKeyList(const std::string& path) const;
    std::shared_ptr<TTSCGroupList> GetGroupList(const std::string& parentPath) const;
    // The groups under parentPath, each with the keys inside its own braces,
    // even where two share a name (see TTSCStore::GroupsWithKeys). The views
    // last as long as the configuration is not changed.
    std::vector<TTSCGroupKeys> GroupsWithKeys(const std::string& parentPath) const;
    TTSCKeyPtr CreateKey(const std::string& path, const std::string& name);
    TTSCGroupPtr CreateGroup(const std::string& parentPath, const std::string& name);

private:
    int LoadBytes(std::string_view bytes);
    void Use(std::shared_ptr<TTSCStore> store);
};
using TTSCFilePtr = std::shared_ptr<TTSCFile>;

// ---- the game's interface ----------------------------------------------------------
TTSCFilePtr CreateTSCFile();
int LoadTSCFile(const TTSCFilePtr& file, const std::string& path);
int LoadTSCFile(const TTSCFilePtr& file, const plat::StreamPtr& stream);
int LoadTSCText(const TTSCFilePtr& file, std::string_view text);
int SaveTSCFile(const TTSCFilePtr& file, const std::string& path);
// A missing key prints "The key <path>::<name> does not exist" and gives "".
std::string GetTSCStringKey(const TTSCFilePtr& file, const std::string& path, const std::string& name, int index);
// A missing key raises TSCError with that text.
float GetTSCNumberKey(const TTSCFilePtr& file, const std::string& path, const std::string& name, int index);
int SetTSCStringKey(const TTSCFilePtr& file, const std::string& path, const std::string& name,
                    const std::string& value, int index);
int SetTSCNumberKey(const TTSCFilePtr& file, const std::string& path, const std::string& name, float value,
                    int index);
std::shared_ptr<TTSCKeyList> GetTSCKeyList(const TTSCFilePtr& file, const std::string& path);
// A number key among one group's own keys (see TTSCFile::GroupsWithKeys),
// read as GetTSCNumberKey reads it, raising TSCError with the same text.
float GetTSCNumberKey(const TTSCGroupKeys& group, const std::string& name, int index);
std::shared_ptr<TTSCGroupList> GetTSCGroupList(const TTSCFilePtr& file, const std::string& parentPath);
TTSCKeyPtr CreateTSCKey(const TTSCFilePtr& file, const std::string& path, const std::string& name);
TTSCGroupPtr CreateTSCGroup(const TTSCFilePtr& file, const std::string& parentPath, const std::string& name);

// The temporary file Save writes before renaming it over path: in the same
// folder, never named "temp" and never with the extension "dat".
std::string TSCSaveTempPath(const std::string& path);

// ---- numbers as text -----------------------------------------------------------------
// The text a number is stored as: "%#.9g" (0.5 -> "0.500000000", 1 ->
// "1.00000000"), except that a value "%#.9g" would write with an exponent is
// written in plain digits that read back to the same float, and infinities
// and NaN are written as 0. Never depends on the C locale.
std::string TSCNumberToText(float value);
// The number a text reads as: leading white space skipped, then the longest
// decimal number (sign, digits, one point, optional exponent), rounded to the
// nearest double and then to float; 0 when there is none. Never depends on
// the C locale; "inf", "nan" and hexadecimal forms read as 0.
float TSCTextToNumber(const std::string& text);
