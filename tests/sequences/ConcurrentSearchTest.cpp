#include "app/MainWindow.h"
#include "transports/ComPortMap.h"
#include "sequences/DeviceConfiguration.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/PortSearch.h"
#include "model/Station.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "tests/common/PtyPeer.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/DeviceTestBench.h"
#include "transports/LineFactory.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <thread>

namespace {

// The search as it ran when one port was probed after the other: the
// reference for what the search logs and finds.
void searchOneByOne(Tvep& client, Station& station)
{
    station.ComPortNr = 1;
    for (int32_t port = 1; port <= MaxComPort; ++port) {
        if (client.OpenPort(port, station.ComBaud, station.ComParity)) {
            if (DebugFlag())
                WriteErrLog("find Comport:" + IntToText(port));
            const DeviceConfiguration configuration = ReadConfiguration(client, station.receiveWords());
            station.DeviceType = station.ReceiveBuffer[DeviceRegisters::TypeWord];
            if (!configuration.answered()) {
                if (DebugBit(32))
                    WriteErrLog("L08 - keine Modul");
            } else if (station.DeviceAddress = configuration.address; !configuration.accepted()) {
                if (DebugBit(32))
                    WriteErrLog("L09 - Falsches oder kein Ger\xE4t - Modultyp: " + IntToText(station.DeviceType));
            } else {
                station.ComPortNr = port;
                if (DebugFlag())
                    WriteErrLog("QMX_Typ (1506): " + IntToText(station.DeviceType) + " ist an Comport " + IntToText(port)
                                + " angeschlossen");
            }
        }
        client.ClosePort();
    }
}

class ConcurrentSearch : public DeviceTestBench {
protected:
    std::string device(const std::string& image, const QStringList& options = {})
    {
        devices.push_back(std::make_unique<QmxSim>(writeImage(image), options));
        return devices.back()->path();
    }

    // Ports of every kind: silent, none, a device, a device whose first reply
    // is broken, a device of another type, a file that is no serial line.
    void mapMixedPorts(const PtyPeer& silent)
    {
        devices.clear();
        mapPorts({silent.path(), "", device(StationBuilder().Type(0x0900).Address(3).DeviceImage()),
                  device(kSmallDevice, {"--fail-transfer", "1", "--bad-crc"}), "",
                  device(StationBuilder().Type(0x1234).DeviceImage()), folder.file("image0.ini")});
    }

    std::unique_ptr<Tvep> client;
};

} // namespace

TEST_F(ConcurrentSearch, LogsAndFindsWhatProbingOnePortAfterTheOtherDoes)
{
    const PtyPeer silent;
    std::vector<std::string> oneByOne;
    {
        mapMixedPorts(silent);
        Tvep reference{SystemLines()};
        reference.Retries = 1;
        reference.RetryWhenSilent = false;
        const CapturedLog log(8 | 32);
        searchOneByOne(reference, station);
        oneByOne = log.messages();
        EXPECT_EQ(station.ComPortNr, 4);
    }
    mapMixedPorts(silent);
    client = std::make_unique<Tvep>(SystemLines());
    client->Retries = 1;
    const CapturedLog log(8 | 32);
    const PortSearchResult result = SearchComPort(client, station, view);
    EXPECT_EQ(result.chosenPort, 4);
    ASSERT_EQ(result.devices.size(), 2u);
    EXPECT_EQ(result.devices.front().port, 3);
    EXPECT_EQ(log.messages(), oneByOne);
    EXPECT_TRUE(log.contains("L09 - Falsches oder kein Ger\xE4t - Modultyp: 4660"));
}

TEST_F(ConcurrentSearch, TwoNumbersOfOneLineFindItAtTheHigherAsOneByOne)
{
    const std::string line = device(kSmallDevice);
    const std::string otherName = folder.file("by-id-link");
    std::filesystem::create_symlink(line, otherName);
    // The same name twice, and a second name of the same device file.
    for (const std::string& second : {line, otherName}) {
        mapPorts({"", line, "", "", second});
        const PortSearchResult result = SearchComPort(client, station, view);
        EXPECT_EQ(result.chosenPort, 5) << second;
        ASSERT_EQ(result.devices.size(), 2u) << second;
        EXPECT_EQ(result.devices.front().port, 2) << second;
    }
}

TEST_F(ConcurrentSearch, SixteenPortsAreAskedAllAtOnce)
{
    // Fifteen silent lines and the device at COM11.
    std::vector<std::unique_ptr<PtyPeer>> silent;
    std::vector<std::string> paths;
    for (int port = 1; port <= MaxComPort; ++port) {
        if (port == 11) {
            paths.push_back(device(kSmallDevice));
            continue;
        }
        silent.push_back(std::make_unique<PtyPeer>());
        paths.push_back(silent.back()->path());
    }
    mapPorts(paths);

    // Probed one after the other, the next silent line would be asked only
    // once the one before had given up, after a probe's time-out.
    QElapsedTimer clock;
    clock.start();
    std::atomic<qint64> allAskedAfter{-1};
    std::thread watcher([&] {
        for (const auto& line : silent) {
            if (!line->waitForRequests(1, 30000))
                return;
        }
        allAskedAfter = clock.elapsed();
    });
    const PortSearchResult result = SearchComPort(client, station, view);
    const qint64 searchMs = clock.elapsed();
    watcher.join();

    EXPECT_EQ(result.chosenPort, 11);
    ASSERT_GE(allAskedAfter.load(), 0) << "a silent line was never asked";
    EXPECT_LT(allAskedAfter.load(), 3 * Tvep::DefaultReplyTimeout);
    std::cout << "16 ports: all asked after " << allAskedAfter.load() << " ms, search took " << searchMs << " ms\n";
}

TEST_F(ConcurrentSearch, TheWindowComesFirstAndShowsTheSearchWhileCommandsWait)
{
    const PtyPeer silent;
    mapPorts({silent.path()});
    TF_Kalmoria_main window;
    window.show();
    window.station().SerialNumber = 815;
    window.ShowStatus();

    bool shownDuringSearch = false;
    std::string panelDuringSearch;
    int readsStarted = 0;
    QObject::connect(window.findChild<QAction*>(QStringLiteral("ActionLadenQMX")), &QAction::triggered,
                     [&readsStarted] { ++readsStarted; });
    QTimer::singleShot(300, &window, [&] {
        shownDuringSearch = window.isVisible();
        panelDuringSearch = window.statusPanelText(5);
        QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("ToolButton4")), Qt::LeftButton);
    });
    window.StartUpSearch();

    EXPECT_TRUE(shownDuringSearch);
    EXPECT_EQ(panelDuringSearch, "ComPort-Suche \x85 COM1");
    EXPECT_EQ(readsStarted, 0) << "a command ran in the middle of the search";
    // Nothing found: no type or address of an earlier device, and a word
    // that none was found; the serial number stays that of the station
    // whose modules are shown.
    EXPECT_EQ(window.statusPanelText(0), "QMX-Adr.: 0");
    EXPECT_EQ(window.statusPanelText(1), " ");
    EXPECT_EQ(window.statusPanelText(2), "SerNr.: 815");
    EXPECT_EQ(window.statusPanelText(5), "keine QMX gefunden");
}
