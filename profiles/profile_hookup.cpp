#include "profiles/profile_hookup.h"

#include "core/options.h"
#include "modes/mode_links.h"
#include "platform/text.h"
#include "profiles/profile_manager.h"
#include "profiles/saved_game.h"

void InstallProfileLinks() {
    optionsLinks.profileCount = [] { return profile ? profile->Count() : 0; };
    optionsLinks.selectProfile = [](const std::string& name) { return profile ? profile->SelectProfile(name) : 0; };
    optionsLinks.currentProfileName = [] { return profile ? profile->CurrentName() : std::string(); };

    modeLinks.getNumber = [](const std::string& key) {
        return profile ? static_cast<float>(profile->GetNumber(key)) : 0.0f;
    };
    modeLinks.getString = [](const std::string& key) { return profile ? profile->GetString(key) : std::string(); };
    modeLinks.setNumber = [](const std::string& key, float value, int saveNow) {
        if (profile) profile->SetNumber(key, plat::TruncToInt(value), saveNow);
    };
    modeLinks.setString = [](const std::string& key, const std::string& value, int saveNow) {
        if (profile) profile->SetString(key, value, saveNow);
    };
    modeLinks.profileName = [] { return profile ? profile->CurrentName() : std::string(); };
    modeLinks.saveGame = [](const std::string& prefix) {
        TProfileSaveBatch batch;
        saveBoard(prefix);
        SaveLastBlock(prefix);
        SaveSpells(prefix);
    };
    modeLinks.loadGame = [](const std::string& prefix) {
        loadBoard(prefix);
        LoadLastBlock(prefix);
        LoadSpells(prefix);
    };
    modeLinks.loadQuestStats = [] {
        LoadLevelStats();
        LoadMagicSphere();
    };
}
