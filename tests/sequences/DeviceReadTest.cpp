#include "app/MainWindow.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "model/Station.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/ShownNotices.h"
#include "tests/common/DeviceTestBench.h"
#include "widgets/StringGrid.h"
#include "transports/LineFactory.h"

#include <QProgressBar>
#include <QTabWidget>

#include <algorithm>
#include <functional>

namespace {

using DeviceRead = DeviceTestBench;


} // namespace

TEST_F(DeviceRead, AFullDeviceFillsModelOverviewAndStatusBar)
{
    startDevice(kSmallDevice);
    CapturedLog log(16 | 32 | 128);
    TF_Kalmoria_main window;
    ASSERT_EQ(window.station().ComPortNr, 1);
    // As the start-up search leaves the port it settles on.
    window.station().ComBaud = 9600;
    window.station().ComParity = 'n';

    window.ActionLadenQMXExecute();

    EXPECT_TRUE(boxes.shown.empty()) << shownTexts().front();
    EXPECT_EQ(window.station().DataState, 0);
    EXPECT_EQ(window.station().ModulAnzahl, 4);
    EXPECT_EQ(shownModuleList(window.station()), (std::vector<int32_t>{0, 2, 3, 9, 0}));
    EXPECT_EQ(window.station().ModuleTable[2].typeText, "KRA-520/DA1");
    EXPECT_EQ(window.station().ModuleTable[2].name, "Pumpwerk Nord   ") << "padded to sixteen, as the device holds it";
    EXPECT_EQ(window.station().ModuleTable[3].typeText, "SK40F");
    EXPECT_EQ(window.station().ModuleTable[9].typeText, "PDX-44");
    EXPECT_EQ(window.station().ModuleTable[9].srcBitCount, 44);
    EXPECT_EQ(window.station().ModuleTable[0].name, "Zentrale");
    EXPECT_EQ(window.station().ModuleTable[0].typeText, "QMX-240.100");
    EXPECT_EQ(window.station().ModuleTable[0].iModulKennNr, 6);

    ASSERT_EQ(window.station().AnzBefehle, 3);
    EXPECT_EQ(window.station().LinkTable[1].ModulQ, 2);
    EXPECT_EQ(window.station().LinkTable[1].ModulZ, 9);
    EXPECT_EQ(window.station().LinkTable[1].AnzBit, 8);
    EXPECT_EQ(window.station().LinkTable[2].BitVon, 1);
    EXPECT_EQ(window.station().LinkTable[2].BitZ, 8);
    EXPECT_EQ(window.station().LinkTable[3].deaktiv, 1);
    EXPECT_EQ(window.station().LinkTable[3].RegZ, 300);

    auto* grid = window.findChild<StringGrid*>(QStringLiteral("SG1"));
    EXPECT_EQ(grid->cell(0, 1), "20");
    EXPECT_EQ(grid->cell(2, 1), "Zentrale");
    EXPECT_EQ(grid->cell(0, 2), "22");
    EXPECT_EQ(grid->cell(2, 2), "Pumpwerk Nord   ");
    EXPECT_EQ(grid->cell(2, 4), "Brunnen 9       ");
    EXPECT_EQ(grid->cell(2, 5), "");
    const std::vector<std::string> panels{"QMX-Adr.: 20", "QMX-Type: 3301", "SerNr.: 815", "Data: OK",
                                          "ComPort: 1",   "",               "Stations: 4", "Links: 3"};
    for (int i = 0; i < TF_Kalmoria_main::kStatusPanelCount; ++i)
        EXPECT_EQ(window.statusPanelText(i), panels[static_cast<std::size_t>(i)]) << "panel " << i;
    EXPECT_TRUE(window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->isTabEnabled(1));

    EXPECT_TRUE(log.contains("L01 - QMX-lesen - OpenComport:1, 9600, n"));
    EXPECT_TRUE(log.contains("L07 - QMX_Typ(1506) = 13057"));
    EXPECT_TRUE(log.contains("L10 - QMX ist OK - SN 815"));
    EXPECT_TRUE(log.contains("L11-3 - Lade Namensblock 32"));
    EXPECT_TRUE(log.contains("L17b - iModulKennNr = 5"));
    EXPECT_TRUE(log.contains("L17d - ModulTyp: KRA-520/DA1"));
    EXPECT_TRUE(log.contains("B-Name: Pumpwerk Nord   "));
    EXPECT_TRUE(log.contains("L23-3 - Verkn\xFCpfungen lesen. R1=33541, R2=100, R3=300, R4=9988"));
    EXPECT_TRUE(log.contains("L25 - QMX-lesen ende - ModulAnzahl:4, AnzBefehle:3"));
}

TEST_F(DeviceRead, ShowsItsProgressPerAddressAndEndsWithThePortClosed)
{
    startDevice(kSmallDevice);
    shown(ReadDevice(vep, station, view));
    ASSERT_EQ(view.progress.size(), 64u);
    EXPECT_EQ(view.progress.front(), "lese: 1");
    EXPECT_EQ(view.progress.back(), "lese: 64");
    EXPECT_EQ(vep.Serial().PortNumber, 0);
    EXPECT_EQ(view.calls.back(), "ShowStatus");
    EXPECT_GT(view.repaints, 0);

    // Transfers, counted against one total from the first figure on, which
    // the existence words tell: existence, configuration, four name blocks,
    // three stations, the central device and the links, one step each.
    const auto& steps = view.progressSteps;
    ASSERT_EQ(steps.size(), 11u);
    for (std::size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i], std::make_pair(static_cast<int>(i) + 1, 11)) << i;
    EXPECT_FALSE(view.progressShown);
}

TEST_F(DeviceRead, TheBoxAfterAFailedReadComesWithTheLineFreeAndTheProgressBarGone)
{
    // Module 3's station data fail: message 13 ends the read.
    startDevice(kSmallDevice, {QStringLiteral("--fail-range"), QStringLiteral("6460:6479")});
    TF_Kalmoria_main window;
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isHidden());

    std::vector<std::string> seenWhileAsked;
    const MessageBoxPresenter previous = SetMessageBoxPresenter([&](const MessageBoxRequest&) {
        Tvep otherProgram{SystemLines()};
        seenWhileAsked.push_back(std::string(bar->isHidden() ? "bar hidden" : "bar shown")
                                 + (otherProgram.OpenPort(1, 9600, 'n') ? ", line free" : ", line held"));
        return idOk;
    });
    window.ActionLadenQMXExecute();
    SetMessageBoxPresenter(previous);

    EXPECT_EQ(seenWhileAsked, std::vector<std::string>{"bar hidden, line free"});
    EXPECT_EQ(window.statusPanelText(5), "");
}

TEST_F(DeviceRead, AnEmptyDeviceGivesOnlyTheCentralDevice)
{
    startDevice(StationBuilder().Type(0x0300).Serial(1).Address(0).DeviceImage());
    shown(ReadDevice(vep, station, view));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(station.ModulAnzahl, 1);
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.DataState, 0);
}

TEST_F(DeviceRead, AQmx620NamesItsCentralRecordSo)
{
    startDevice(StationBuilder().Type(0x0900).Serial(2).Address(3).DeviceImage());
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(station.ModuleTable[0].typeText, "QMX-620");
    EXPECT_EQ(station.DeviceAddress, 3);
}

TEST_F(DeviceRead, ADeviceAddressAbove240IsNoDeviceOfOurs)
{
    startDevice(StationBuilder().Serial(2).Address(241).Module(1, 5).DeviceImage());
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(11, "13057")});
    EXPECT_EQ(boxes.shown.front().kind, mbError);
    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.DataState, 1); // so that no empty link list is written to it
    EXPECT_TRUE(log.contains("L09 - Falsches oder kein Ger\xE4t - Modultyp: 13057"));
}

TEST_F(DeviceRead, UnusableNamesFallBackToTheAddress)
{
    // Module 6: third name register with a zero high byte; module 7: four blanks;
    // module 8: never named on the device.
    startDevice(smallDevice()
                    .Module(6, 2, {}, "Schieber Ost")
                    .Module(7, 2)
                    .Module(8, 2)
                    .Register(32042, 0x0041)
                    .Register(32048, 0x2020)
                    .Register(32049, 0x2020)
                    .DeviceImage());
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(station.ModuleTable[6].name, "Modul-Adr.7");
    EXPECT_EQ(station.ModuleTable[7].name, "Modul-Adr.8");
    EXPECT_EQ(station.ModuleTable[8].name, "Modul-Adr.9");
    EXPECT_EQ(station.ModuleTable[2].name, "Pumpwerk Nord   ");
}

TEST_F(DeviceRead, AModuleWithAnUnknownKindIsNotListed)
{
    startDevice(smallDevice().Module(12, 7, {}, "Zukunft").DeviceImage());
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(station.ModuleTable[12].present, 0);
    EXPECT_EQ(shownModuleList(station), (std::vector<int32_t>{0, 2, 3, 9, 0}));
    EXPECT_TRUE(log.contains("L17c - iModulKennNr error12"));
}

TEST_F(DeviceRead, ASilentDeviceIsReportedAndNothingIsKept)
{
    startDevice(kSmallDevice, {QStringLiteral("--silent")});
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{message(13), message(11, "0")}));
    EXPECT_EQ(station.DataState, 1);
    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.DeviceType, 0);
}

TEST_F(DeviceRead, ADeviceThatFallsSilentMidwayKeepsTheModulesFoundSoFar)
{
    // Transfers: existence, configuration, name block 0, module 2, then silence at module 3.
    startDevice(kSmallDevice, {QStringLiteral("--fail-from"), QStringLiteral("5")});
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(station.DataState, 1);
    EXPECT_EQ(shownModuleList(station), (std::vector<int32_t>{0, 2}));
    // The links are still asked for, since a module was found; that fails too.
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{message(13), message(13)}));
    EXPECT_EQ(station.AnzBefehle, 0);
}

TEST_F(DeviceRead, AFailedLinkReadKeepsTheModulesButNoLinks)
{
    startDevice(kSmallDevice, {QStringLiteral("--fail-range"), QStringLiteral("30800:31051")});
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(13)});
    EXPECT_EQ(station.DataState, 1);
    EXPECT_EQ(station.ModulAnzahl, 4);
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_TRUE(log.contains("L12.6 - Kommunikationsfehler"));
}

TEST_F(DeviceRead, ALinkListWithoutEndSlotStopsAtTheAreaAndSaysSo)
{
    StationBuilder device = StationBuilder().Module(2, 5).Module(3, 5);
    for (int n = 1; n <= 70; ++n)
        device.Link({2, n, 0, 1, 3, 300, 0, 0});
    startDevice(device.DeviceImage());
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(station.AnzBefehle, 63);
    EXPECT_EQ(station.LinkTable[63].RegVon, 63);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(kMessageLinkListNotTerminated, {"63"})});
}

// Unit tests take what the tests' station builder calls Read() for what a
// read leaves: the same list, central record, data state, origins and links.
TEST_F(DeviceRead, LeavesWhatTheTestsStationBuilderCallsARead)
{
    const StationBuilder stations[] = {
        smallDevice(),
        StationBuilder().Type(0x0900).Serial(4711).Address(240).Module(1, 3).Module(64, 5, {}, "Ende"),
    };
    for (const StationBuilder& device : stations) {
        startDevice(device.DeviceImage());
        shown(ReadDevice(vep, station, view));
        const Station built = StationBuilder(device).Read().Build();
        EXPECT_EQ(shownModuleList(station), shownModuleList(built));
        EXPECT_EQ(station.ModuleTable[0], built.ModuleTable[0]);
        for (int a = 1; a <= kMaxModuleAddress; ++a)
            EXPECT_EQ(station.ModuleTable[static_cast<std::size_t>(a)].iModulKennNr,
                      built.ModuleTable[static_cast<std::size_t>(a)].iModulKennNr) << a;
        EXPECT_EQ(station.DataState, built.DataState);
        EXPECT_EQ(station.Identity(), built.Identity());
        EXPECT_EQ(station.OverviewOrigin, built.OverviewOrigin);
        EXPECT_EQ(station.LinkTableOrigin, built.LinkTableOrigin);
        EXPECT_EQ(tableLinks(station), tableLinks(built));
    }
}

TEST_F(DeviceRead, APortThatWillNotOpenIsReported)
{
    // No device started: COM1 leads to no device file, and the message says
    // which number and where its device file is named, not "error code 0".
    CapturedLog log(32);
    shown(ReadDevice(vep, station, view));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(kMessageNoDeviceFileForPort, {"COM1"})});
    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_EQ(station.DataState, 1);
    EXPECT_TRUE(log.contains("L20 - Comport l\xE4sst sich nicht \xF6" "ffnen"));
}

namespace {

// A user who plugs the cable in after the first try: the port opens only
// from the second open of the read on.
class LatePortView : public RecordingView {
public:
    explicit LatePortView(std::function<void()> plugIn)
        : m_plugIn(std::move(plugIn))
    {
    }
    void Repaint() override
    {
        RecordingView::Repaint();
        if (repaints == 2)
            m_plugIn();
    }

private:
    std::function<void()> m_plugIn;
};

bool anyLineStartsWith(const CapturedLog& log, const std::string& start)
{
    const auto lines = log.messages();
    return std::ranges::any_of(lines, [&start](const std::string& line) { return line.starts_with(start); });
}

} // namespace

TEST_F(DeviceRead, AFirstOpenThatFailsIsReportedEvenWhenTheSecondSucceeds)
{
    const std::string path = startDevice(kSmallDevice).path();
    mapPorts({});
    LatePortView lateView([&] { mapPorts({path}); });
    CapturedLog log(32);
    shown(ReadDevice(vep, station, lateView));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(13)});
    EXPECT_EQ(station.DataState, 1);
    EXPECT_EQ(station.ModulAnzahl, 0);
    EXPECT_TRUE(log.contains("L02 - Comport l\xE4sst sich nicht \xF6" "ffnen (Modul-Exist)"));
}

// One area of the device fails at a time; what is kept and said differs.
struct FailingArea {
    const char* registers;
    std::vector<int> messages;
    std::vector<int32_t> modules; // the overview's module list afterwards
    int32_t links;
};

class DeviceReadFailingArea : public DeviceTestBench, public testing::WithParamInterface<FailingArea> {};

TEST_P(DeviceReadFailingArea, KeepsWhatWasReadAndSaysWhatFailed)
{
    const FailingArea& area = GetParam();
    startDevice(kSmallDevice, {QStringLiteral("--fail-range"), QString::fromLatin1(area.registers)});
    shown(ReadDevice(vep, station, view));
    std::vector<std::string> expected;
    for (const int n : area.messages)
        expected.push_back(n == 11 ? message(11, "0") : message(n));
    EXPECT_EQ(shownTexts(), expected);
    EXPECT_EQ(station.DataState, 1);
    EXPECT_EQ(station.ModulAnzahl == 0 ? std::vector<int32_t>{} : shownModuleList(station), area.modules);
    EXPECT_EQ(station.AnzBefehle, area.links);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, DeviceReadFailingArea,
    testing::Values(
        // Without the existence words no module can be taken.
        FailingArea{"2100:2163", {13}, {}, 0},
        // Without the configuration there is no device of ours.
        FailingArea{"1500:1519", {11}, {}, 0},
        // The central device's own record: it is still listed, the links are still read.
        FailingArea{"5920:5939", {13}, {0, 2, 3, 9, 0}, 3}));

// Each debug bit switches on its own lines of the read, and only those.
struct DebugGate {
    int bit;
    std::vector<std::string> shown;
    std::vector<std::string> notShown;
};

class DeviceReadDebugGate : public DeviceTestBench, public testing::WithParamInterface<DebugGate> {};

TEST_P(DeviceReadDebugGate, WritesExactlyItsOwnLines)
{
    const DebugGate& gate = GetParam();
    startDevice(kSmallDevice);
    CapturedLog log(gate.bit);
    shown(ReadDevice(vep, station, view));
    for (const std::string& line : gate.shown)
        EXPECT_TRUE(anyLineStartsWith(log, line)) << "bit " << gate.bit << " misses " << line;
    for (const std::string& line : gate.notShown)
        EXPECT_FALSE(anyLineStartsWith(log, line)) << "bit " << gate.bit << " writes " << line;
}

const std::string kExistence = "L03 - lese Modul-Exist ab 2100";
const std::string kExistenceEnd = "L04 - lese Modul-Exist ab 2100 - ende";
const std::string kLinkWords = "L23-1 - Verkn\xFCpfungen lesen. R1=";
const std::string kSerialSent = "  RS+: ";
const std::string kName = "B-Name: ";

INSTANTIATE_TEST_SUITE_P(
    Bits, DeviceReadDebugGate,
    testing::Values(DebugGate{8, {kSerialSent}, {kExistence, kExistenceEnd, kLinkWords, kName}},
                    DebugGate{16, {kExistence, kLinkWords}, {kExistenceEnd, kSerialSent, kName}},
                    DebugGate{32, {kExistence, kExistenceEnd}, {kLinkWords, kSerialSent, kName}},
                    DebugGate{128, {kName}, {kExistence, kExistenceEnd, kLinkWords, kSerialSent}}));
