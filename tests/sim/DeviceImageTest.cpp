#include "sim/DeviceImage.h"
#include "tests/common/StationBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

using namespace qmxsim;

namespace {

RegisterMap load(const std::string& text)
{
    RegisterMap map;
    std::string error;
    EXPECT_TRUE(LoadDeviceImage(text, map, error)) << error;
    return map;
}

// The sixteen name characters of a module address, high byte of each register first.
std::string nameOf(const RegisterMap& map, int address)
{
    std::string name;
    const std::vector<uint16_t> words = *map.read(Registers::name(address), Registers::NameRegisters);
    for (const uint16_t w : words) {
        name.push_back(static_cast<char>(w >> 8));
        name.push_back(static_cast<char>(w & 0xFF));
    }
    return name;
}

std::string binFile(const char* name)
{
    const char* dir = std::getenv("KALMORIA_BIN_DIR");
    return std::string(dir ? dir : ".") + "/" + name;
}

} // namespace

TEST(DeviceImage, SectionsBecomeConfigurationExistenceStationAndNameRegisters)
{
    const RegisterMap map = load("[Device]\nType=0x0900\nSerial=4711\nAddress=$F1\n"
                                 "[Module5]\nKind=4\nSrcBits=64\nSrcRegs=16\nDstBits=32\nDstRegs=8\nSrc2Regs=4\n"
                                 "Name=Pumpwerk Nord\n"
                                 "[module7]\nkind=7\nexists=0x07FF\n");
    EXPECT_EQ(map.get(1506), 0x0900);
    EXPECT_EQ(map.get(1508), 4711);
    EXPECT_EQ(map.get(1516), 241);

    EXPECT_LT(map.get(Registers::existence(5)), Registers::FirstAbsentWord);
    EXPECT_EQ(map.get(Registers::existence(7)), 0x07FF);
    EXPECT_GE(map.get(Registers::existence(6)), Registers::FirstAbsentWord);

    EXPECT_EQ(Registers::station(5), 6820);
    EXPECT_EQ(*map.read(6820, 20),
              (std::vector<uint16_t>{0, 0, 4, 0, 0, 0, 0, 0, 64, 16, 32, 8, 4, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(map.get(Registers::station(7) + 2), 7);

    EXPECT_EQ(map.get(Registers::name(5)), 'P' << 8 | 'u');
    EXPECT_EQ(nameOf(map, 5), "Pumpwerk Nord   ");
    EXPECT_EQ(nameOf(map, 1), "Modul-Adresse:01");
    EXPECT_EQ(nameOf(map, 64), "Modul-Adresse:64");
}

TEST(DeviceImage, ConfigurationDefaultsHoldWithOrWithoutADeviceSection)
{
    for (const char* text : {"", "[Device]\n", "[Module1]\nKind=1\n", "[Device]\nSerial=7\n"}) {
        const RegisterMap map = load(text);
        EXPECT_EQ(map.get(1506), 0x3301) << text;
        EXPECT_EQ(map.get(1516), 1) << text;
    }
    EXPECT_EQ(load("").get(1508), 0);
    EXPECT_EQ(load("[Device]\nSerial=7\n").get(1508), 7);
}

TEST(DeviceImage, NamesInUtf8OrWindows1252GiveTheSameDeviceBytes)
{
    const RegisterMap utf8 = load("[Module1]\nName=Kl\xC3\xA4ranlage S\xC3\xBC" "d\n");
    const RegisterMap ansi = load("[Module1]\nName=Kl\xE4ranlage S\xFC" "d\n");
    EXPECT_EQ(nameOf(utf8, 1), "Kl\xE4ranlage S\xFC" "d  ");
    EXPECT_EQ(nameOf(ansi, 1), nameOf(utf8, 1));
    // Sixteen characters fit exactly, also when two of them take two UTF-8 bytes each.
    EXPECT_EQ(nameOf(load("[Module1]\nName=Druckerh\xC3\xB6hung \xC3\xA4\xC3\xA4\n"), 1),
              "Druckerh\xF6hung \xE4\xE4");
}

TEST(DeviceImage, LinksFillTheAreaFromItsStartAndTheNextSlotEndsThem)
{
    const RegisterMap map = load("[Links]\n1=3,100,2,4,5,300,7,1\n2=0205, 0096,015E,0010\n");
    EXPECT_EQ(*map.read(30800, 12), (std::vector<uint16_t>{0x8305, 0x0064, 0x012C, 0x2704, 0x0205, 0x0096, 0x015E,
                                                           0x0010, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}));
}

TEST(DeviceImage, RawRegistersBendWhatTheSectionsBuilt)
{
    const RegisterMap map = load("[Registers]\nR32002=0x0041\nR0x17D6=7\n[Module1]\nName=Brunnen\n");
    EXPECT_EQ(map.get(32002), 0x0041) << "a zero high byte in the name of address 1";
    EXPECT_EQ(map.get(6102), 7) << "kind code 7 at address 1";
}

TEST(DeviceImage, MistakesAreNamedNotGuessed)
{
    const struct {
        const char* text;
        const char* mentions;
    } cases[] = {
        {"[Device]\nType=33O1\n", "[Device] Type"},
        {"[Device]\nSerial=70000\n", "outside"},
        {"[Device]\nTyp=1\n", "unknown key"},
        {"[Modul5]\nKind=1\n", "unknown section"},
        {"[Module65]\nKind=1\n", "1 to 64"},
        {"[Module1]\nName=Hochbeh\xC3\xA4lter Ostfeld\n", "longer than 16"},
        {"[Links]\n1=1,2,3,4,5,6,7,0\n3=1,2,3,4,5,6,7,0\n", "[Links] 2"},
        {"[Links]\n1=8305,0064,012C\n", "four hex words or eight fields"},
        {"[Links]\n1=83051,0064,012C,2704\n", "not a hex word"},
        // Read as 0xFFFF it would quietly end the list here.
        {"[Links]\n1=-1,0064,012C,2704\n", "not a hex word"},
        {"[Links]\n1=8305,0064,012C,2704\n2=FFFF,0064,012C,2704\n3=0102,0,0,0\n", "[Links] 2: FFFF ends the list"},
        {"[Links]\n1=3,100,16,4,5,300,7,1\n", "field 3"},
        {"[Registers]\nR100=1\n", "no such register"},
    };
    for (const auto& c : cases) {
        RegisterMap map;
        std::string error;
        EXPECT_FALSE(LoadDeviceImage(c.text, map, error)) << c.text;
        EXPECT_NE(error.find(c.mentions), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(DeviceImage, ShippedImagesLoad)
{
    RegisterMap demo;
    std::string error;
    ASSERT_TRUE(LoadDeviceImageFile(binFile("qmx-demo.ini"), demo, error)) << error;
    EXPECT_EQ(demo.get(1506), 0x3301);

    // The benchmark's device: every address occupied, and 62 links, the most
    // that one read of 252 registers brings back with its end slot.
    RegisterMap full;
    ASSERT_TRUE(LoadDeviceImageFile(binFile("qmx-full64.ini"), full, error)) << error;
    for (int a = 1; a <= Registers::Modules; ++a)
        EXPECT_LT(full.get(Registers::existence(a)), Registers::FirstAbsentWord) << a;
    for (int slot = 0; slot < 62; ++slot)
        EXPECT_NE(full.get(30800 + 4 * slot), 0xFFFF) << slot;
    EXPECT_EQ(full.get(30800 + 4 * 62), 0xFFFF);
}

// The tests' station builder gives a Station and an image of the same
// device: whatever a test reads from one must hold for the other.
TEST(DeviceImage, TheTestsStationBuilderWritesTheRegistersOfTheStationItBuilds)
{
    const std::pair<const char*, StationBuilder> rows[] = {
        {"qmx-sim's defaults", StationBuilder()},
        {"modules of every kind, links active, inactive and as words",
         StationBuilder()
             .Type(0x0900)
             .Serial(65535)
             .Address(0)
             .Module(1, 3, {.srcBits = 16, .srcRegs = 2, .src2Regs = 4, .dstBits = 16, .dstRegs = 2}, "local IO")
             .Module(2, 0, {.srcBits = 32, .srcRegs = 12, .dstBits = 24, .dstRegs = 8}, "Kl\xE4ranlage S\xFC" "d")
             .Module(17, 1)
             .Module(64, 5, {.srcBits = 44, .srcRegs = 4, .dstBits = 44, .dstRegs = 4}, "sechzehn Zeichen")
             .Link({2, 100, 0, 8, 64, 300, 0, 0})
             .Link({127, 65535, 15, 255, 1, 0, 15, 1})
             .LinkWords({0x8305, 0x0064, 0x012C, 0x2704})},
    };
    for (const auto& [what, builder] : rows) {
        const RegisterMap map = load(builder.DeviceImage());
        const Station station = builder.Build();
        EXPECT_EQ(map.get(Registers::DeviceType), station.DeviceType) << what;
        EXPECT_EQ(map.get(Registers::SerialNumber), station.SerialNumber) << what;
        EXPECT_EQ(map.get(Registers::DeviceAddress), station.DeviceAddress) << what;
        for (int a = 1; a <= Registers::Modules; ++a) {
            const ModuleRecord& module = station.ModuleTable[static_cast<std::size_t>(a)];
            EXPECT_EQ(map.get(Registers::existence(a)) < Registers::FirstAbsentWord, module.present != 0) << what << a;
            if (module.present == 0)
                continue;
            const uint16_t record = Registers::station(a);
            EXPECT_EQ(map.get(record + Registers::StationKindWord), module.iModulKennNr) << what << a;
            EXPECT_EQ(*map.read(record + Registers::StationCountsWord, 5),
                      (std::vector<uint16_t>{uint16_t(module.srcBitCount), uint16_t(module.srcRegCount),
                                             uint16_t(module.dstBitCount), uint16_t(module.dstRegCount),
                                             uint16_t(module.src2RegCount)}))
                << what << a;
            std::string name;
            EncodeModuleName(module.name.empty() ? DefaultModuleName(a) : module.name, name);
            EXPECT_EQ(nameOf(map, a), name) << what << a;
        }
        for (int n = 1; n <= station.AnzBefehle; ++n) {
            const DeviceLinkWords words = EncodeLinkWords(station.LinkTable[static_cast<std::size_t>(n)]);
            EXPECT_EQ(*map.read(static_cast<uint16_t>(Registers::LinkFirst + 4 * (n - 1)), 4),
                      (std::vector<uint16_t>{words.r1, words.r2, words.r3, words.r4}))
                << what << n;
        }
        EXPECT_EQ(map.get(static_cast<uint16_t>(Registers::LinkFirst + 4 * station.AnzBefehle)), 0xFFFF) << what;
    }
}
