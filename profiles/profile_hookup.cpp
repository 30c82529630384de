#include "profiles/profile_hookup.h"

#include "modes/mode_links.h"
#include "platform/text.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "profiles/quest_save.h"
#include "profiles/saved_game.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "title/title_links.h"
#include "title/title_screen.h"

void InstallProfileHookups() {
    InstallProfileLinks();

    titleLinks.profileCount = [] { return profile ? profile->Count() : 0; };
    titleLinks.currentProfileName = [] { return profile ? profile->CurrentName() : std::string(); };
    titleLinks.profileNumber = [](const std::string& key) { return profile ? profile->GetNumber(key) : 0; };
    titleLinks.showProfileScreen = [](int startState) {
        if (profileLoader) profileLoader->show(startState);
    };
    screensLinks.loadProfileScreen = [] {
        if (profileLoader) profileLoader->Load();
    };

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

    profileLinks.titleImage = [] { return titleScreen ? titleScreen->titleImage : nullptr; };
    profileLinks.updateTitleMusic = [] {
        if (titleScreen && titleScreen->musicStream) titleScreen->musicStream->update();
    };
    profileLinks.panelImage = [] { return optionsWindow ? optionsWindow->bg : nullptr; };
    profileLinks.highlightImage = [] { return optionsWindow ? optionsWindow->highlight : nullptr; };
}
