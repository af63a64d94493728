#include "model/Station.h"
#include "diag/ProgramFolder.h"
#include "model/SignalGroups.h"
#include "tests/common/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(SignalGroups, EachKindTakesItsEntriesUpToTheFirstWithoutRegisters)
{
    Station station;
    TempDir folder;
    folder.write("QMXFO.ini", "[KRA]\r\n10=400\r\n11=16\r\n12=Z\xE4hlerst\xE4nde\r\n20=500\r\n21=8\r\n22=Analog\r\n"
                              "30=1\r\n31=0\r\n32=Leer\r\n40=9\r\n41=9\r\n42=Dahinter\r\n"
                              "[sk40]\r\n10=60\r\n12=Ohne Anzahl\r\n20=70\r\n21=2\r\n"
                              "[LIO]\r\n11=4\r\n");
    station.LoadSignalGroups(folder.file("QMXFO.ini"));

    EXPECT_EQ(station.SignalGroupCount[0], 2);
    EXPECT_EQ(station.SignalGroupTable[0][1].firstRegister, 400);
    EXPECT_EQ(station.SignalGroupTable[0][1].registerCount, 16);
    EXPECT_EQ(station.SignalGroupTable[0][1].name, "Z\xE4hlerst\xE4nde");
    EXPECT_EQ(station.SignalGroupTable[0][2].name, "Analog");
    // Sections are found whatever their case; a missing count ends the list.
    EXPECT_EQ(station.SignalGroupCount[1], 0);
    EXPECT_EQ(station.SignalGroupCount[2], 0);
    // A missing first register reads as 0.
    EXPECT_EQ(station.SignalGroupCount[3], 1);
    EXPECT_EQ(station.SignalGroupTable[3][1].firstRegister, 0);
    EXPECT_EQ(station.SignalGroupTable[3][1].name, "");
}

TEST(SignalGroups, NoKindTakesMoreThanFiveEntries)
{
    Station station;
    TempDir folder;
    std::string ini = "[QMX]\r\n";
    for (int n = 1; n <= 7; ++n)
        ini += std::to_string(n * 10) + "=" + std::to_string(1000 + n) + "\r\n" + std::to_string(n * 10 + 1) + "=2\r\n";
    folder.write("QMXFO.ini", ini);
    station.LoadSignalGroups(folder.file("QMXFO.ini"));
    EXPECT_EQ(station.SignalGroupCount[4], 5);
    EXPECT_EQ(station.SignalGroupTable[4][5].firstRegister, 1005);
}

TEST(SignalGroups, AMissingFileLeavesEveryKindWithoutGroups)
{
    Station station;
    TempDir folder;
    station.LoadSignalGroups(folder.file("QMXFO.ini"));
    for (const int count : station.SignalGroupCount)
        EXPECT_EQ(count, 0);
}

TEST(SignalGroups, TheShippedFileOffersGroupsForEveryKind)
{
    Station station;
    station.LoadSignalGroups("QMXFO.ini"); // the tests run in the program's folder
    for (int kind = 0; kind < kSignalGroupKinds; ++kind)
        EXPECT_GT(station.SignalGroupCount[static_cast<std::size_t>(kind)], 0) << SignalGroupSection(kind);
}

TEST(SignalGroups, AWorkingFolderWithoutTheFileFallsBackToTheProgramFolder)
{
    Station station;
    // Started from the desktop menu, the program runs in the user's home.
    TempDir home;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(home.path())));
    EXPECT_EQ(SignalGroupFile(), programFolder() + "QMXFO.ini");
    station.LoadSignalGroups();
    EXPECT_GT(station.SignalGroupCount[0], 0);

    // A file of the user's own in the working folder wins.
    home.write("QMXFO.ini", "[KRA]\r\n10=400\r\n11=16\r\n12=Eigene\r\n");
    station.LoadSignalGroups();
    EXPECT_EQ(station.SignalGroupCount[0], 1);
    EXPECT_EQ(station.SignalGroupTable[0][1].name, "Eigene");
    QDir::setCurrent(previous);
}
