// The device sequences over network ports: qmx-sim's pseudo-terminal served
// by ser2net, raw and with RFC 2217, mapped to COM numbers in Kalmoria.ini
// as a user maps a serial device server.

#include "app/TF_rs232.h"
#include "sequences/CheckedLinkWrite.h"
#include "sequences/ConnectionDoctor.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "sequences/LinkAreaRead.h"
#include "sequences/PortSearch.h"
#include "model/Station.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/Ser2net.h"
#include "tests/common/ShownNotices.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TinyServer.h"
#include "tests/common/DeviceTestBench.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>

namespace {

// The small device with a fourth link whose words carry bytes 0xFF, which
// RFC 2217 doubles on the way: register 255 and target register 65535.
std::string deviceWithEscapes()
{
    return smallDevice().Link({9, 255, 15, 1, 3, 65535, 15, 1}).DeviceImage();
}

const std::vector<LinkFields> kDeviceLinks{
    {2, 100, 0, 8, 9, 300, 0, 0}, {3, 42, 1, 2, 2, 300, 8, 0}, {3, 100, 2, 4, 5, 300, 7, 1}, {9, 255, 15, 1, 3, 65535, 15, 1}};

std::string modeName(const testing::TestParamInfo<Ser2net::Mode>& info)
{
    return info.param == Ser2net::Mode::Raw ? "Raw" : "Rfc2217";
}

class NetworkPort : public DeviceTestBench, public testing::WithParamInterface<Ser2net::Mode> {
protected:
    void SetUp() override
    {
        KALMORIA_REQUIRE_SER2NET();
        DeviceTestBench::SetUp();
    }

    // qmx-sim behind ser2net on the image, mapped to COM5 (and the COM
    // numbers before it to nothing), chosen as the port.
    SimBehindSer2net& startServedDevice(const std::string& image, const QStringList& options = {})
    {
        served.push_back(std::make_unique<SimBehindSer2net>(writeImage(image), GetParam(), options));
        SimBehindSer2net& device = *served.back();
        EXPECT_TRUE(device.ready()) << "qmx-sim or ser2net did not start";
        mapPorts({"", "", "", "", device.address()});
        station.ComPortNr = 5;
        return device;
    }

    std::vector<LinkFields> deviceLinks()
    {
        const LinkAreaRead area = ReadLinkArea(vep, station);
        EXPECT_EQ(area.transferResult, 0);
        return linkFields(DecodeLinkArea(area.words).links);
    }

    std::vector<std::unique_ptr<SimBehindSer2net>> served;
};

StationConfirmation yes()
{
    return [](const StationCheck&) { return true; };
}

} // namespace

TEST_P(NetworkPort, AReadThroughTheServerFillsTheModel)
{
    startServedDevice(deviceWithEscapes());
    const DeviceReadResult result = ReadDevice(vep, station, view);
    ASSERT_TRUE(result.ok()) << result.errorString();
    EXPECT_EQ(station.DataState, 0);
    EXPECT_EQ(station.ModulAnzahl, 4);
    EXPECT_EQ(station.ModuleTable[9].name, "Brunnen 9       ");
    EXPECT_EQ(station.SerialNumber, 815);
    ASSERT_EQ(station.AnzBefehle, 4);
    std::vector<LinkFields> links;
    for (int32_t n = 1; n <= station.AnzBefehle; ++n)
        links.push_back(linkFields(station.LinkTable[static_cast<std::size_t>(n)]));
    EXPECT_EQ(links, kDeviceLinks);
    EXPECT_EQ(vep.Serial().PortNumber, 0) << "closed at the end";
}

TEST_P(NetworkPort, AReadWriteReadRoundTripLeavesTheLinkAreaWordForWord)
{
    startServedDevice(deviceWithEscapes());
    const LinkAreaRead before = ReadLinkArea(vep, station);
    ASSERT_EQ(before.transferResult, 0);
    ASSERT_TRUE(ReadDevice(vep, station, view).ok());

    const CheckedLinkWriteResult written = WriteLinksChecked(vep, station, &view, LinkWriteChecks{}, {}, yes());
    ASSERT_TRUE(written.ok()) << written.errorString();
    EXPECT_TRUE(written.verified);

    const LinkAreaRead after = ReadLinkArea(vep, station);
    ASSERT_EQ(after.transferResult, 0);
    EXPECT_EQ(after.words, before.words);
}

TEST_P(NetworkPort, AWriteWithVerifyCarriesBytes0xFFAndIsReadBackAsWritten)
{
    startServedDevice(kSmallDevice);
    ASSERT_TRUE(ReadDevice(vep, station, view).ok());
    station.DeleteLink(1);
    ASSERT_TRUE(station.AppendLink(9, 255, 15, 1, 3, 65535, 15));
    ASSERT_TRUE(station.AppendLink(2, 511, 0, 8, 9, 0x7FFF, 0));

    const CheckedLinkWriteResult written = WriteLinksChecked(vep, station, &view, LinkWriteChecks{}, {}, yes());
    ASSERT_TRUE(written.ok()) << written.errorString();
    EXPECT_TRUE(written.verified);
    ASSERT_FALSE(written.notices.empty());
    EXPECT_EQ(written.notices.back().number, kMessageWrittenAndChecked);
    EXPECT_EQ(deviceLinks(), (std::vector<LinkFields>{{3, 42, 1, 2, 2, 300, 8, 0},
                                                      {3, 100, 2, 4, 5, 300, 7, 1},
                                                      {9, 255, 15, 1, 3, 65535, 15, 1},
                                                      {2, 511, 0, 8, 9, 0x7FFF, 0, 1}}))
        << "new links are inactive";
}

TEST_P(NetworkPort, ThePortSearchFindsTheServedDeviceBesideAClosedPort)
{
    SimBehindSer2net& device = startServedDevice(kSmallDevice);
    const TinyServer gone(TinyServer::CloseAtOnce);
    const std::string closed = "tcp://127.0.0.1:" + std::to_string(Ser2net::freePort());
    mapPorts({closed, "", gone.address(), device.address()});
    std::unique_ptr<Tvep> client;
    QElapsedTimer clock;
    clock.start();
    const PortSearchResult found = SearchComPort(client, station, view);
    EXPECT_LT(clock.elapsed(), 3000);
    ASSERT_EQ(found.devices.size(), 1u);
    EXPECT_EQ(found.devices.front().port, 4);
    EXPECT_EQ(found.devices.front().serialNumber, 815);
    EXPECT_EQ(station.ComPortNr, 4);
}

TEST_P(NetworkPort, ASilentDeviceBehindTheServerCostsTheSearchAboutTheTimeOut)
{
    startServedDevice(kSmallDevice, {QStringLiteral("--silent")});
    std::unique_ptr<Tvep> client;
    QElapsedTimer clock;
    clock.start();
    const PortSearchResult found = SearchComPort(client, station, view);
    EXPECT_TRUE(found.devices.empty());
    EXPECT_GE(clock.elapsed(), 1400) << "the 1.5 s first-byte time-out of a network port";
    EXPECT_LT(clock.elapsed(), 3500);
}

TEST_P(NetworkPort, TheDoctorChecksTheConnectionAndTheAnswer)
{
    SimBehindSer2net& device = startServedDevice(kSmallDevice);
    const std::string closed = "tcp://127.0.0.1:" + std::to_string(Ser2net::freePort());
    const std::vector<PortCheckup> checked = CheckPorts({{5, device.address()}, {6, closed}});
    ASSERT_EQ(checked.size(), 2u);

    EXPECT_TRUE(checked[0].answered);
    ASSERT_EQ(checked[0].findings.size(), 2u);
    EXPECT_EQ(checked[0].findings[0].number, kMessageServerAccepts);
    EXPECT_EQ(checked[0].findings[0].arguments[0], "COM5 (" + device.address() + ")");
    EXPECT_EQ(checked[0].findings[0].arguments[1], "127.0.0.1:" + std::to_string(device.server().port()));
    EXPECT_EQ(checked[0].findings[1].number, kMessageDeviceAnswers);

    EXPECT_FALSE(checked[1].answered);
    ASSERT_EQ(checked[1].findings.size(), 1u) << "no transfer without a connection";
    EXPECT_EQ(checked[1].findings[0].number, kMessageNetworkPortNotOpen);
    EXPECT_EQ(checked[1].findings[0].arguments.back(), "Connection refused");
}

TEST_P(NetworkPort, AServerThatIsGoneIsAPortThatDoesNotOpenWithTheReason)
{
    SimBehindSer2net& device = startServedDevice(kSmallDevice);
    device.server().stop();
    const DeviceReadResult result = shown(ReadDevice(vep, station, view));
    EXPECT_EQ(result.outcome, Outcome::PortNotOpen);
    ASSERT_EQ(result.notices.size(), 1u);
    EXPECT_EQ(result.notices[0].number, kMessageNetworkPortNotOpen);
    const std::string server = "127.0.0.1:" + std::to_string(device.server().port());
    EXPECT_EQ(result.notices[0].arguments,
              (std::vector<std::string>{"COM5 (" + device.address() + ")", server, "Connection refused"}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(server), std::string::npos) << boxes.shown[0].text;
    EXPECT_EQ(station.DataState, 1);
}

TEST_P(NetworkPort, AConnectionThatDropsFailsTheTransferWithTheHostAndTheReason)
{
    // A server that accepts and closes at once: a raw port opens, and its
    // transfers fail; an RFC 2217 port does not open.
    const TinyServer dropping(TinyServer::CloseAtOnce);
    const std::string address = dropping.address(GetParam() == Ser2net::Mode::Raw ? "tcp" : "rfc2217");
    mapPorts({"", "", "", "", address});
    station.ComPortNr = 5;
    QElapsedTimer clock;
    clock.start();
    const DeviceReadResult result = ReadDevice(vep, station, view);
    EXPECT_LT(clock.elapsed(), 2000) << "a connection that is gone costs no time-out";
    EXPECT_FALSE(result.ok());
    ASSERT_FALSE(result.notices.empty());
    const Notice& last = result.notices.back();
    const std::string server = "127.0.0.1:" + std::to_string(dropping.port());
    if (GetParam() == Ser2net::Mode::Raw) {
        EXPECT_EQ(result.outcome, Outcome::TransferFailed);
        // Told in the box of the failure it caused, not in a box of its own.
        ASSERT_EQ(last.causes.size(), 1u);
        const Notice& lost = last.causes.front();
        EXPECT_EQ(lost.number, kMessageConnectionLost);
        ASSERT_EQ(lost.arguments.size(), 2u);
        EXPECT_EQ(lost.arguments[0], server);
        EXPECT_FALSE(lost.arguments[1].empty());
        shown(result);
        ASSERT_EQ(boxes.shown.size(), result.notices.size());
        EXPECT_EQ(boxes.shown.back().text, NoticeText(last));
        EXPECT_NE(boxes.shown.back().text.find(server), std::string::npos);
    } else {
        EXPECT_EQ(result.outcome, Outcome::PortNotOpen);
        EXPECT_EQ(last.number, kMessageNetworkPortNotOpen);
        EXPECT_EQ(last.arguments[1], server);
    }
}

INSTANTIATE_TEST_SUITE_P(BothKinds, NetworkPort, testing::Values(Ser2net::Mode::Raw, Ser2net::Mode::Rfc2217),
                         modeName);

TEST(PortDialog, ListsNetworkPortsWithTheirKindAndTimeOut)
{
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\nCOM1=/dev/ttyUSB0\r\nCOM5=tcp://10.0.0.7:4001\r\n"
                         "COM6=rfc2217://station-7.example.org:4002?timeout=800\r\nCOM7=tcp://10.0.0.7\r\n");
    Station station;
    station.ComPortNr = 6;
    TF_rs232 dialog(station);
    dialog.FormShow();
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    const QAbstractItemModel* model = list->model();
    const auto cell = [model](int row, int column) { return model->index(row, column).data().toString(); };
    EXPECT_EQ(cell(4, 1), QStringLiteral("tcp://10.0.0.7:4001"));
    EXPECT_EQ(cell(4, 2), QStringLiteral("Netzwerkport (TCP, roh), Antwort-Zeitlimit 1500 ms"));
    EXPECT_EQ(cell(5, 2), QStringLiteral("Netzwerkport (RFC 2217), Antwort-Zeitlimit 800 ms"));
    EXPECT_EQ(cell(6, 2), QString::fromUtf8("Ung\xC3\xBCltige Netzwerkadresse: the port number is missing (HOST:PORT)"));
    EXPECT_EQ(cell(0, 2), QString()) << "a device file without a stable name";
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("LabelPortPath"))->text(),
              QStringLiteral("rfc2217://station-7.example.org:4002?timeout=800\n"
                             "Netzwerkport (RFC 2217), Antwort-Zeitlimit 800 ms"));
}
