#include "sequences/StationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Station words of a module of `kind` whose words 8..12 hold the given counts.
StationWords station(uint16_t kind, std::vector<uint16_t> counts = {40, 12, 24, 8, 5})
{
    StationWords words{};
    words[2] = kind;
    for (std::size_t i = 0; i < counts.size(); ++i)
        words[8 + i] = counts[i];
    return words;
}

// Eight name registers from sixteen bytes, high byte first.
void putName(NameBlockWords& block, int entry, const std::string& sixteen)
{
    ASSERT_EQ(sixteen.size(), 16u);
    for (int j = 0; j < 8; ++j)
        block[static_cast<std::size_t>(8 * entry + j)] =
            static_cast<uint16_t>(static_cast<uint8_t>(sixteen[2 * j]) << 8 | static_cast<uint8_t>(sixteen[2 * j + 1]));
}

} // namespace

TEST(StationData, EachKindFillsItsTypeAndCounts)
{
    // Words 8..12 are 40, 12, 24, 8, 5: 24 bits and 12 registers make the /DA1 variant.
    const struct {
        uint16_t kind;
        const char* typeText;
        int srcBits, srcRegs, dstBits, dstRegs, src2Regs, src4;
    } rows[] = {
        {0, "KRA-520/DA1", 40, 12, 24, 8, 16, 2},
        {1, "SK40F", 4, 2, 2, 0, 4, 3},
        {2, "XTQ", 0, 0, 0, 0, 0, 5},
        {3, "LIO ", 40, 12, 24, 8, 5, 0},
        {4, "VLN-300/DA1", 40, 12, 24, 8, 16, 2},
        {5, "PDX-44", 40, 12, 24, 8, 8, 2},
    };
    for (const auto& row : rows) {
        ModuleRecord module;
        module.name = "Brunnen";
        ApplyStationData(module, station(row.kind));
        SCOPED_TRACE(row.kind);
        EXPECT_EQ(module.present, 1);
        EXPECT_EQ(module.iModulKennNr, row.kind);
        EXPECT_EQ(module.typeText, row.typeText);
        EXPECT_EQ(module.name, row.kind == 3 ? "local IO" : "Brunnen");
        EXPECT_EQ((std::vector<int>{module.srcBitCount, module.srcRegCount, module.dstBitCount, module.dstRegCount,
                                    module.src2RegCount, module.src4Count}),
                  (std::vector<int>{row.srcBits, row.srcRegs, row.dstBits, row.dstRegs, row.src2Regs, row.src4}));
    }

    // Kind codes from 6 on are nothing the program knows; 6 belongs to the central device alone.
    for (const uint16_t kind : {6, 7, 0xFFFF}) {
        ModuleRecord module;
        module.present = 1;
        ApplyStationData(module, station(kind));
        EXPECT_EQ(module.present, 0) << kind;
        EXPECT_EQ(module.iModulKennNr, kind);
    }
}

TEST(StationData, VariantFollowsDestinationBitsAndSourceRegisters)
{
    const struct {
        uint16_t dstBits, srcRegs;
        const char* variant;
    } cases[] = {
        {8, 4, "/DA1"}, {24, 12, "/DA1"}, {8, 0, "/DA2"}, {40, 8, "/DA2"}, {16, 0, "/DA3"},
        // Any multiple of 16 bits, none included, counts as 16.
        {0, 0, "/DA3"}, {32, 16, "/DA3"},
        {16, 4, nullptr}, {8, 2, nullptr}, {12, 0, nullptr}, {0, 4, nullptr},
    };
    for (const auto& c : cases) {
        for (const auto& [kind, model] : {std::pair<uint16_t, std::string>{0, "KRA-520"}, {4, "VLN-300"}}) {
            ModuleRecord module;
            ApplyStationData(module, station(kind, {0, c.srcRegs, c.dstBits, 0, 0}));
            EXPECT_EQ(module.typeText, c.variant ? model + c.variant : "")
                << "bits " << c.dstBits << ", registers " << c.srcRegs;
            EXPECT_EQ(module.present, 1) << "a module without a known variant is still there";
        }
    }
}

TEST(StationData, TheCentralDeviceIsAQmx620OnlyByItsType)
{
    for (const uint16_t type : {0x0900, 0x0300, 0x0301, 0x3300, 0x3301, 0x0000}) {
        ModuleRecord central;
        central.srcBitCount = 32;
        central.dstRegCount = 4;
        ApplyCentralDeviceRecord(central, type);
        EXPECT_EQ(central.typeText, type == 0x0900 ? "QMX-620" : "QMX-240.100") << type;
        EXPECT_EQ(central.name, "Zentrale");
        EXPECT_EQ(central.present, 1);
        EXPECT_EQ(central.iModulKennNr, 6);
        EXPECT_EQ(central.srcBitCount, 0);
        EXPECT_EQ(central.dstRegCount, 0);
        EXPECT_EQ(central.src4Count, 1);
    }
}

TEST(StationData, EachNameComesFromItsEntryOfTheLoadedBlock)
{
    NameBlockWords block{};
    for (int e = 0; e < 16; ++e)
        putName(block, e, "Entry " + std::string(e < 10 ? "0" : "") + std::to_string(e) + "        ");
    putName(block, 3, "Kl\xE4ranlage S\xFC" "d  ");

    // The block holds sixteen addresses: index 16, 32 and 48 each start a block of their own.
    // Names keep the blanks that pad them to sixteen characters.
    const std::pair<int, const char*> cases[] = {{0, "Entry 00"},  {15, "Entry 15"}, {16, "Entry 00"},
                                                 {17, "Entry 01"}, {47, "Entry 15"}, {48, "Entry 00"},
                                                 {63, "Entry 15"}, {51, "Kl\xE4ranlage S\xFC" "d"}};
    for (const auto& [index, name] : cases) {
        const std::string padded = std::string(name) + std::string(16 - std::strlen(name), ' ');
        EXPECT_EQ(ModuleDisplayName(DecodeModuleName(block, index), index + 1), padded) << index;
    }
}

TEST(StationData, AZeroHighByteRestartsTheNameAndAZeroLowByteStaysUntilShown)
{
    NameBlockWords block{};
    putName(block, 0, std::string("Pump\0Aerk Nord  ", 16)); // third register 0x0041
    putName(block, 1, std::string("Ab\0\0Cd\0\0Ef      ", 16));
    putName(block, 2, std::string("P\0umpe \0        ", 16));

    EXPECT_EQ(DecodeModuleName(block, 0), "Modul-Adresse:erk Nord  ");
    EXPECT_EQ(DecodeModuleName(block, 1), "Modul-Adresse:Ef      ") << "the last restart counts";
    EXPECT_EQ(DecodeModuleName(block, 2), std::string("P\0umpe \0        ", 16));
    EXPECT_EQ(ModuleDisplayName(DecodeModuleName(block, 2), 3), "Pumpe" + std::string(9, ' '));
}

TEST(StationData, NamesWithoutUsableTextFallBackToTheAddress)
{
    const std::string forty(40, 'x');
    const struct {
        std::string decoded;
        int32_t address;
        std::string shown;
    } cases[] = {
        {"Modul-Adresse:erk Nord  ", 6, "Modul-Adr.7"},
        {"Modul-Adresse:", 64, "Modul-Adr.65"},
        {"    Pumpwerk    ", 2, "Modul-Adr.3"},
        {"   Pumpwerk     ", 2, "   Pumpwerk     "}, // three blanks are a name's own
        {"Pumpwerk Nord   ", 2, "Pumpwerk Nord   "},   // the padding stays as read
        {std::string("Pumpe \0 \0", 9), 2, "Pumpe  "},
        {std::string(" \0 \0 \0 \0 \0 \0 \0 \0", 16), 4, "Modul-Adr.5"}, // nothing left to show
        {forty + "yz", 2, forty},                       // cut to forty characters
        {forty.substr(2) + "  yz", 2, forty.substr(2) + "  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModuleDisplayName(c.decoded, c.address), c.shown) << c.decoded;
}
