#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ModuleModel, ResetEmptiesModulesAndCountsButKeepsLinkSlots)
{
    Station station;
    station.AnzBefehle = 2;
    ASSERT_TRUE(station.AppendLink(3, 100, 0, 1, 4, 300, 0));
    station.ModuleTable[5].present = 1;
    station.ModuleTable[5].name = "Pumpwerk";
    station.ModuleTable[5].srcBitCount = 32;
    station.ModuleList[1] = 5;
    station.ModulAnzahl = 2;

    station.ResetModel();

    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.ModuleList[1], 0);
    EXPECT_EQ(station.ModuleTable[5].present, 0);
    EXPECT_TRUE(station.ModuleTable[5].name.empty());
    EXPECT_EQ(station.ModuleTable[5].srcBitCount, 0);
    EXPECT_EQ(station.LinkTable[3].ModulQ, 3);
}

TEST(ModuleModel, ListPositionCountsThePresentRecordsBelowAnAddress)
{
    Station station;
    station.ResetModel();
    station.ModuleTable[0].present = 1;
    station.ModuleTable[3].present = 1;
    station.ModuleTable[7].present = 1;
    station.ModuleTable[64].present = 1;
    EXPECT_EQ(station.ModuleListPosition(0), 0);
    EXPECT_EQ(station.ModuleListPosition(3), 1);
    EXPECT_EQ(station.ModuleListPosition(7), 2);
    EXPECT_EQ(station.ModuleListPosition(64), 3);
    // Addresses from outside are held to the table.
    EXPECT_EQ(station.ModuleListPosition(500), 4);
    EXPECT_EQ(station.ModuleListPosition(-3), 0);
}

TEST(ModuleModel, AllSixtyFourModulesAndTheTrailingCentralEntryFitTheList)
{
    Station station;
    station.ResetModel();
    for (int address = 1; address <= kMaxModuleAddress; ++address)
        ASSERT_TRUE(station.AppendToModuleList(address));
    ASSERT_TRUE(station.AppendToModuleList(0));
    EXPECT_EQ(station.ModulAnzahl, 65);
    EXPECT_EQ(station.ModuleList[64], 64);
    EXPECT_EQ(station.ModuleList[65], 0);
    EXPECT_FALSE(station.AppendToModuleList(1));
    EXPECT_FALSE(station.AppendToModuleList(65));
    EXPECT_EQ(station.ModulAnzahl, 65);
}

