#include "i18n/MessageBoxEx.h"
#include "model/DeleteAllLinks.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/ShellView.h"
#include "tests/common/RecordingView.h"
#include "tests/common/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void fillThreeLinks()
{
    AnzBefehle = 0;
    for (int i = 1; i <= 3; ++i)
        AppendLink(i, 100, 0, 1, 4, 300, 0);
}

} // namespace

TEST(ModuleModel, ResetEmptiesModulesAndCountsButKeepsLinkSlots)
{
    fillThreeLinks();
    ModuleTable[5].present = 1;
    ModuleTable[5].name = "Pumpwerk";
    ModuleTable[5].srcBitCount = 32;
    ModuleList[1] = 5;
    ModulAnzahl = 2;

    ResetModel();

    EXPECT_EQ(ModulAnzahl, 0);
    EXPECT_EQ(AnzBefehle, 0);
    EXPECT_EQ(ModuleList[1], 0);
    EXPECT_EQ(ModuleTable[5].present, 0);
    EXPECT_TRUE(ModuleTable[5].name.empty());
    EXPECT_EQ(ModuleTable[5].srcBitCount, 0);
    EXPECT_EQ(LinkTable[3].ModulQ, 3);
}

TEST(ModuleModel, ListPositionCountsThePresentRecordsBelowAnAddress)
{
    ResetModel();
    ModuleTable[0].present = 1;
    ModuleTable[3].present = 1;
    ModuleTable[7].present = 1;
    ModuleTable[64].present = 1;
    EXPECT_EQ(ModuleListPosition(0), 0);
    EXPECT_EQ(ModuleListPosition(3), 1);
    EXPECT_EQ(ModuleListPosition(7), 2);
    EXPECT_EQ(ModuleListPosition(64), 3);
    // Addresses from outside are held to the table.
    EXPECT_EQ(ModuleListPosition(500), 4);
    EXPECT_EQ(ModuleListPosition(-3), 0);
}

TEST(ModuleModel, AllSixtyFourModulesAndTheTrailingCentralEntryFitTheList)
{
    ResetModel();
    for (int address = 1; address <= kMaxModuleAddress; ++address)
        ASSERT_TRUE(AppendToModuleList(address));
    ASSERT_TRUE(AppendToModuleList(0));
    EXPECT_EQ(ModulAnzahl, 65);
    EXPECT_EQ(ModuleList[64], 64);
    EXPECT_EQ(ModuleList[65], 0);
    EXPECT_FALSE(AppendToModuleList(1));
    EXPECT_FALSE(AppendToModuleList(65));
    EXPECT_EQ(ModulAnzahl, 65);
}

TEST(DeleteAllLinks, YesEmptiesTheTableAndMarksTheDataConsistent)
{
    fillThreeLinks();
    DataState = 99;
    ScriptedMessageBoxes yes(idYes);
    RecordingView view;

    EXPECT_TRUE(DeleteAllLinks(view));

    ASSERT_EQ(yes.shown.size(), 1u);
    EXPECT_EQ(yes.shown[0].kind, mbQuestion);
    EXPECT_EQ(yes.shown[0].buttons, mbYesNo);
    EXPECT_EQ(AnzBefehle, 0);
    EXPECT_EQ(LinkTable[1].ModulQ, 0);
    EXPECT_EQ(LinkTable[2].encodedText, kEmptyLinkText);
    EXPECT_EQ(DataState, 0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}

TEST(DeleteAllLinks, NoKeepsEveryLinkButStillShowsTheOverview)
{
    fillThreeLinks();
    DataState = 99;
    ScriptedMessageBoxes no(idNo);
    RecordingView view;

    EXPECT_FALSE(DeleteAllLinks(view));

    EXPECT_EQ(AnzBefehle, 3);
    EXPECT_EQ(LinkTable[2].ModulQ, 2);
    EXPECT_EQ(DataState, 99);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}

TEST(DeleteAllLinks, ACountTheTableCannotHoldIsClearedToo)
{
    AnzBefehle = 400; // more than the slots, as a damaged file could claim
    ScriptedMessageBoxes yes(idYes);
    RecordingView view;
    EXPECT_TRUE(DeleteAllLinks(view));
    EXPECT_EQ(AnzBefehle, 0);
    EXPECT_EQ(LinkTable[kLinkSlots - 1].encodedText, kEmptyLinkText);
}
