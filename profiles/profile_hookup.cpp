#include "profiles/profile_hookup.h"

#include "core/options.h"
#include "modes/mode_links.h"
#include "platform/text.h"
#include "profiles/profile_manager.h"
#include "profiles/saved_game.h"

void InstallProfileLinks() {
    optionsLinks.profileCount = [] { return profile->Count(); };
    optionsLinks.selectProfile = [](const std::string& name) { return profile->SelectProfile(name); };
    optionsLinks.currentProfileName = [] { return profile->CurrentName(); };

    modeLinks.getNumber = [](const std::string& key) { return static_cast<float>(profile->GetNumber(key)); };
    modeLinks.getString = [](const std::string& key) { return profile->GetString(key); };
    modeLinks.setNumber = [](const std::string& key, float value, int saveNow) {
        profile->SetNumber(key, plat::TruncToInt(value), saveNow);
    };
    modeLinks.setString = [](const std::string& key, const std::string& value, int saveNow) {
        profile->SetString(key, value, saveNow);
    };
    modeLinks.profileName = [] { return profile->CurrentName(); };
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
