// The profiles as the title screen and the play loops reach them through
// their link tables.
#include <gtest/gtest.h>

#include "modes/mode_links.h"
#include "profiles/profile_hookup.h"
#include "profiles/profile_links.h"
#include "profiles_fixture.h"
#include "screens/screens_links.h"
#include "title/title_hookup.h"
#include "title/title_links.h"

namespace {

class ProfileHookup : public ProfilesTest {
protected:
    void SetUp() override {
        ProfilesTest::SetUp();
        // The title reads the profile store through its own links.
        InstallProfileLinks();
        InstallTitleLinks();
        ASSERT_EQ(CreateNewProfile("anna"), 1);
    }
    void TearDown() override {
        modeLinks = TModeLinks{};
        titleLinks = TTitleLinks{};
        optionsLinks = TOptionsLinks{};
        profileLinks = TProfileLinks{};
        screensLinks = TScreensLinks{};
        ProfilesTest::TearDown();
    }
};

TEST_F(ProfileHookup, AnEndlessGameIsSavedInOneWriteAndResumed) {
    board->runeLayer[1][2] = 3;
    auto held = std::make_shared<TBlock>();
    held->cells[0][0] = 2;
    blocks->heldBlock = held;
    bonusManagerAlt->AddBonusExt(4, 6, 7, 2);
    const std::string before = Bytes(PathOf("anna"));
    {
        TProfileSaveBatch batch;
        modeLinks.setNumber("endlessResume", 1, 1);
        modeLinks.saveGame("endless");
        EXPECT_EQ(Bytes(PathOf("anna")), before);
    }
    *board = TBoardManager();
    blocks->heldBlock.reset();
    bonusManagerAlt->ClearSpells();
    profile->UpdateList();
    EXPECT_EQ(titleLinks.profileNumber("endlessResume"), 1);
    EXPECT_TRUE(profile->GetList("razod1").empty()) << "the quest's board is another key";
    modeLinks.loadGame("endless");
    EXPECT_EQ(board->runeLayer[1][2], 3);
    ASSERT_TRUE(blocks->heldBlock);
    EXPECT_EQ(blocks->heldBlock->cells[0][0], 2);
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 1);
}

TEST_F(ProfileHookup, TheTitleAndTheLoopsReadTheCurrentPlayer) {
    EXPECT_EQ(titleLinks.profileCount(), 1);
    EXPECT_EQ(titleLinks.currentProfileName(), "anna");
    EXPECT_EQ(modeLinks.profileName(), "anna");
    modeLinks.setString("endlessLevel", "level_05.tsc", 1);
    profile->UpdateList();
    EXPECT_EQ(modeLinks.getString("endlessLevel"), "level_05.tsc");
    EXPECT_EQ(modeLinks.getNumber("showTutorial"), 1.0f);
}

}  // namespace
