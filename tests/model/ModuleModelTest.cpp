#include "model/LinkModel.h"
#include "model/ModuleModel.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ModuleModel, ResetEmptiesModulesAndCountsButKeepsLinkSlots)
{
    AnzBefehle = 2;
    ASSERT_TRUE(AppendLink(3, 100, 0, 1, 4, 300, 0));
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

