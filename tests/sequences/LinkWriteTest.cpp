#include "app/MainWindow.h"
#include "diag/ErrLog.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "sequences/LinkWrite.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/ShownNotices.h"
#include "tests/common/TableLinks.h"
#include "tests/common/DeviceTestBench.h"
#include "transports/LineFactory.h"

namespace {

class LinkWrite : public DeviceTestBench {
protected:
    // The links as the device holds them now, read by a fresh device read.
    std::vector<LinkFields> readBackLinks()
    {
        shown(ReadDevice(vep, station, view));
        return tableLinks(station);
    }

    void readDeviceAndForgetMessages()
    {
        shown(ReadDevice(vep, station, view));
        ASSERT_EQ(station.DataState, 0);
        boxes.shown.clear();
    }
};

} // namespace

TEST_F(LinkWrite, WrittenLinksReadBackUnchanged)
{
    startDevice(kSmallDevice);
    readDeviceAndForgetMessages();
    station.DeleteLink(1);
    ASSERT_TRUE(station.AppendLink(9, 150, 3, 12, 2, 350, 4));
    station.AppendLink(127, 43, 15, 255, 65, 65535, 15); // modules off the bus, as the slot can hold them
    station.LinkTable[4].deaktiv = 0;
    const auto written = tableLinks(station);

    CapturedLog log(1);
    view.progressSteps.clear();
    shown(WriteLinksToDevice(vep, station, &view));

    EXPECT_EQ(view.progressSteps, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(20, {"4", "2", "2"})});
    EXPECT_EQ(boxes.shown.front().kind, mbInformation);
    EXPECT_EQ(station.LinkTable[2].encodedText, "8305,0064,012C,2704");
    EXPECT_TRUE(log.contains("230-Verkn\xFCpfungsdaten in QMX geschrieben !!!"));
    EXPECT_EQ(vep.Serial().PortNumber, 0);
    EXPECT_EQ(readBackLinks(), written);
}

TEST_F(LinkWrite, TheResultBoxOfAWriteLeavesTheLineFreeForAnotherProgram)
{
    startDevice(kSmallDevice);
    TF_Kalmoria_main window;
    window.ActionLadenQMXExecute();
    ASSERT_EQ(window.station().DataState, 0);

    std::vector<bool> lineFreeWhileAsked;
    const MessageBoxPresenter previous = SetMessageBoxPresenter([&](const MessageBoxRequest&) {
        Tvep otherProgram{SystemLines()};
        lineFreeWhileAsked.push_back(otherProgram.OpenPort(1, 9600, 'n'));
        return idOk;
    });
    window.ActionSpeichernQMXExecute();
    SetMessageBoxPresenter(previous);

    EXPECT_EQ(lineFreeWhileAsked, std::vector<bool>{true});
}

TEST_F(LinkWrite, AnEmptyTableWritesOnlyTheEndSlot)
{
    startDevice(kSmallDevice);
    readDeviceAndForgetMessages();
    while (station.AnzBefehle > 0)
        station.DeleteLink(station.AnzBefehle);
    shown(WriteLinksToDevice(vep, station));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(20, {"0", "0", "0"})});
    EXPECT_TRUE(readBackLinks().empty());
}

TEST_F(LinkWrite, SixtyTwoLinksFillTheLinkArea)
{
    startDevice(kSmallDevice);
    readDeviceAndForgetMessages();
    while (station.AnzBefehle < 62)
        station.AppendLink(2, station.AnzBefehle, 0, 1, 9, 300, 0);
    const auto written = tableLinks(station);
    shown(WriteLinksToDevice(vep, station));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(20, {"62", "2", "60"})});
    EXPECT_EQ(readBackLinks(), written);
}

TEST_F(LinkWrite, IsRefusedWhileTheDataAreIncomplete)
{
    startDevice(kSmallDevice);
    CapturedLog log(32);
    for (const int state : {99, 1}) {
        station.DataState = state;
        station.AnzBefehle = 0;
        shown(WriteLinksToDevice(vep, station));
    }
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{message(15), message(15)}));
    EXPECT_TRUE(log.contains("L12.W - Kommunikationsfehler verhindert Schreiben"));
    EXPECT_EQ(readBackLinks().size(), 3u);
}

TEST_F(LinkWrite, AWriteTheWindowRefusesIsLoggedOnce)
{
    TF_Kalmoria_main window;
    CapturedLog log(32);
    window.station().DataState = 99;
    window.ActionSpeichernQMXExecute();
    // A second line of the same text would show as a repeat count before this one.
    WriteErrLog("Ende");
    EXPECT_EQ(log.messages().size(), 3u) << "the start line, the refusal and Ende";
    EXPECT_TRUE(log.contains("L12.W - Kommunikationsfehler verhindert Schreiben"));
}

TEST_F(LinkWrite, AReadThatFoundNoDeviceOfOursCannotBeWrittenBack)
{
    startDevice(StationBuilder().Address(241).Module(2, 5).Link({2, 100, 0, 1, 2, 300, 0, 0}).DeviceImage());
    shown(ReadDevice(vep, station, view));
    boxes.shown.clear();
    shown(WriteLinksToDevice(vep, station));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(15)});
}

TEST_F(LinkWrite, ATableTheDeviceCannotHoldIsNeverSent)
{
    startDevice(kSmallDevice);
    readDeviceAndForgetMessages();
    const auto original = tableLinks(station);

    station.LinkTable[2].ModulQ = 130;
    shown(WriteLinksToDevice(vep, station));
    station.LinkTable[2].ModulQ = 3;
    station.LinkTable[1].ModulZ = 128;
    shown(WriteLinksToDevice(vep, station));
    station.LinkTable[1].ModulZ = 9;
    station.LinkTable[3].BitZ = 16;
    shown(WriteLinksToDevice(vep, station));
    station.LinkTable[3].BitZ = 7;
    while (station.AnzBefehle < 63)
        station.AppendLink(2, 100, 0, 1, 9, 300, 0);
    shown(WriteLinksToDevice(vep, station));

    EXPECT_EQ(shownTexts(), (std::vector<std::string>{messageWith(kMessageLinkNotWritable, {"2", "ModulQ=130 (0..127)"}),
                                                      messageWith(kMessageLinkNotWritable, {"1", "ModulZ=128 (0..127)"}),
                                                      messageWith(kMessageLinkNotWritable, {"3", "BitZ=16 (0..15)"}),
                                                      messageWith(kMessageTooManyLinks, {"63"})}));
    EXPECT_EQ(readBackLinks(), original);
}

TEST_F(LinkWrite, AFailedTransferIsReportedAsAnError)
{
    // Transfers of the read: existence, configuration, four name blocks,
    // three modules, the central device, the links; the write is the twelfth.
    startDevice(kSmallDevice, {QStringLiteral("--fail-from"), QStringLiteral("12")});
    readDeviceAndForgetMessages();
    CapturedLog log(1);
    shown(WriteLinksToDevice(vep, station));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(5)});
    EXPECT_EQ(boxes.shown.front().kind, mbError);
    EXPECT_TRUE(log.contains("230-FEHLER beim Verkn\xFCpfungsdaten in QMX schreiben err"));
    EXPECT_EQ(vep.Serial().PortNumber, 0);
}
