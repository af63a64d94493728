#include "sequences/DeviceRead.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "protocol/DeviceRegisters.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/ShownNotices.h"
#include "tests/common/DeviceTestBench.h"

namespace {

using ModuleAddresses = DeviceTestBench;

// Modules on both sides of every name block border: block k names addresses 16k+1 .. 16k+16.
StationBuilder blockBorders()
{
    return StationBuilder()
        .Serial(77)
        .Address(5)
        .Module(16, 5, {}, "Ende Block 0")
        .Module(17, 5, {}, "Anfang Block 1")
        .Module(33, 1, {}, "Anfang Block 2")
        .Module(48, 2, {}, "Ende Block 2")
        .Module(49, 5, {}, "Anfang Block 3")
        .Module(64, 5, {}, "Ende Block 3")
        .Link({16, 100, 0, 8, 64, 300, 0, 0});
}

// The register that tells whether a module address is occupied.
uint16_t existenceWord(int address)
{
    return static_cast<uint16_t>(DeviceRegisters::ModuleExistence + address - 1);
}


} // namespace

TEST_F(ModuleAddresses, EachNameComesFromItsOwnBlockAndEntry)
{
    startDevice(blockBorders().DeviceImage());
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));

    EXPECT_TRUE(boxes.shown.empty()) << shownTexts().front();
    EXPECT_EQ(shownModuleList(station), (std::vector<int32_t>{0, 16, 17, 33, 48, 49, 64, 0}));
    // Each name padded to sixteen characters, as the device holds it.
    const std::pair<int, const char*> names[] = {
        {16, "Ende Block 0    "}, {17, "Anfang Block 1  "}, {33, "Anfang Block 2  "}, {48, "Ende Block 2    "},
        {49, "Anfang Block 3  "}, {64, "Ende Block 3    "},
        // Unoccupied addresses keep the device's factory name and show the fallback.
        {1, "Modul-Adr.2"}, {32, "Modul-Adr.33"},
    };
    for (const auto& [address, name] : names)
        EXPECT_EQ(station.ModuleTable[static_cast<std::size_t>(address)].name, name) << address;
    for (const char* line : {"L11-2 - Lade Namensblock 16", "L11-3 - Lade Namensblock 32",
                             "L11-4 - Lade Namensblock 48"})
        EXPECT_TRUE(log.contains(line)) << line;
}

TEST_F(ModuleAddresses, AFailedNameBlockKeepsTheModulesFoundBeforeIt)
{
    startDevice(blockBorders().DeviceImage(), {QStringLiteral("--fail-range"), QStringLiteral("32256:32383")});
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));

    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(13)});
    EXPECT_TRUE(log.contains("L12.4 - Kommunikationsfehler"));
    EXPECT_EQ(station.DataState, 1);
    EXPECT_EQ(shownModuleList(station), (std::vector<int32_t>{0, 16, 17}));
    EXPECT_EQ(station.ModuleTable[17].name, "Anfang Block 1  ");
    EXPECT_EQ(station.ModuleTable[33].present, 0);
    // Modules were found, so the links are still read.
    EXPECT_EQ(station.AnzBefehle, 1);
}

TEST_F(ModuleAddresses, AnExistenceWordBelow0x0800MarksTheAddressOccupied)
{
    startDevice(blockBorders()
                    .Module(20, 5)
                    .Module(21, 5, {}, "Abgeklemmt")
                    .Register(existenceWord(20), 0x07FF)
                    .Register(existenceWord(21), 0x0800)
                    .DeviceImage());
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));

    EXPECT_EQ(station.ModuleTable[20].present, 1);
    EXPECT_EQ(station.ModuleTable[21].present, 0);
    EXPECT_TRUE(log.contains("L17a - Stationsdaten gelesen 20"));
    EXPECT_FALSE(log.contains("L17a - Stationsdaten gelesen 21")) << "an absent module is not asked";
    EXPECT_EQ(shownModuleList(station), (std::vector<int32_t>{0, 16, 17, 20, 33, 48, 49, 64, 0}));
}
