#include "app/MainWindow.h"
#include "app/TF_rs232.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/PortSearch.h"
#include "model/Station.h"
#include "model/Station.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/DeviceTestBench.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

namespace {

class PortSearch : public DeviceTestBench {
protected:
    std::string device(const std::string& image, const QStringList& options = {})
    {
        devices.push_back(std::make_unique<QmxSim>(writeImage(image), options));
        EXPECT_FALSE(devices.back()->path().empty());
        return devices.back()->path();
    }

    std::unique_ptr<Tvep> client;
};

const std::string kDeviceAt3 = StationBuilder().Type(0x0900).Address(3).DeviceImage();

} // namespace

TEST_F(PortSearch, WithDevicesOnTwoPortsTheHigherWins)
{
    const std::string first = device(kDeviceAt3);
    const std::string second = device(kSmallDevice);
    mapPorts({"", first, "", "", second});
    CapturedLog log(1);

    SearchComPort(client, station, view);

    EXPECT_EQ(station.ComPortNr, 5);
    EXPECT_EQ(station.ComBaud, 9600);
    EXPECT_EQ(station.ComParity, 'n');
    EXPECT_EQ(station.DeviceAddress, 0);
    EXPECT_NE(client, nullptr);
    EXPECT_EQ(view.calls, std::vector<std::string>{"ShowStatus"});
    // One step per port with a device path, the closing one at COM5.
    EXPECT_EQ(view.progressSteps, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_FALSE(view.progressShown);
    EXPECT_TRUE(log.contains("find Comport:2"));
    EXPECT_TRUE(log.contains("QMX_Typ (1506): 2304 ist an Comport 2 angeschlossen"));
    EXPECT_TRUE(log.contains("QMX_Typ (1506): 13057 ist an Comport 5 angeschlossen"));
}

TEST_F(PortSearch, WithoutAnyPortItStaysOnCom1)
{
    station.ComPortNr = 7;
    station.ComBaud = 0;
    SearchComPort(client, station, view);
    EXPECT_EQ(station.ComPortNr, 1);
    EXPECT_EQ(station.ComBaud, 9600);
    EXPECT_EQ(view.calls, std::vector<std::string>{"ShowStatus"});
}

TEST_F(PortSearch, ASilentPortCostsOneTransferAndIsPassedOver)
{
    // The answering port is not COM1, the default, so a search that never
    // takes a port cannot pass.
    mapPorts({"", device(kDeviceAt3), device(kSmallDevice, {QStringLiteral("--silent")})});
    QElapsedTimer clock;
    clock.start();
    SearchComPort(client, station, view);
    EXPECT_EQ(station.ComPortNr, 2);
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(PortSearch, ADeviceAtAddressAbove240IsNotTaken)
{
    mapPorts({"", device(StationBuilder().Address(241).DeviceImage())});
    SearchComPort(client, station, view);
    EXPECT_EQ(station.ComPortNr, 1);
}

TEST(PortDialog, ShowsTheCurrentPortAndChangesItOnlyOnOk)
{
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\nCOM4=/dev/ttyUSB3\r\n");
    Station station;
    station.ComPortNr = 4;
    TF_rs232 dialog(station);
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_EQ(list->count(), 16);
    EXPECT_EQ(list->itemText(15), QStringLiteral("COM16"));

    dialog.FormShow();
    EXPECT_EQ(list->currentIndex(), 3);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("LabelPortPath"))->text(), QStringLiteral("/dev/ttyUSB3"));
    dialog.Btn_OKClick();
    EXPECT_EQ(station.ComPortNr, 4);

    dialog.FormShow();
    list->setCurrentIndex(10);
    dialog.findChild<QPushButton*>(QStringLiteral("Btn_abb"))->click();
    EXPECT_EQ(station.ComPortNr, 4);

    dialog.FormShow();
    list->setCurrentIndex(10);
    dialog.findChild<QPushButton*>(QStringLiteral("Btn_OK"))->click();
    EXPECT_EQ(station.ComPortNr, 11);
}

TEST_F(PortSearch, OnlyTheStartUpSearchForgetsTheTypeWordAndNoneTheSerialNumber)
{
    mapPorts({device(kSmallDevice, {QStringLiteral("--silent")})});
    TF_Kalmoria_main window;
    window.station().SerialNumber = 815;
    // A failed probe takes the type word of whatever reply came before.
    window.station().ReceiveBuffer[DeviceRegisters::TypeWord] = 0x3301;
    window.findChild<QAction*>(QStringLiteral("ComPortsuchen"))->trigger();
    window.ShowStatus();
    EXPECT_EQ(window.statusPanelText(1), "QMX-Type: 3301");
    EXPECT_EQ(window.statusPanelText(2), "SerNr.: 815");

    window.StartUpSearch();
    window.ShowStatus();
    EXPECT_EQ(window.statusPanelText(1), " ");
    EXPECT_EQ(window.statusPanelText(2), "SerNr.: 815");
}
