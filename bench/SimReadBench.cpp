// How long the program's register traffic takes against a device at 9600 bps,
// compared with the time its bytes need on the line (960 bytes per second).
//
// Starts qmx-sim with pacing on a 64-module image, reaches it through COM1
// with the program's protocol client, and times one configuration read, a
// full read of every register block in the order the device read uses, and
// the program's whole device read (model, names, links and all).
//
//   qmx-read-bench [--image FILE]

#include "comm/DeviceRead.h"
#include "comm/DeviceRegisters.h"
#include "comm/PortSettings.h"
#include "comm/Tvep.h"
#include "diag/ProgramFolder.h"
#include "i18n/MessageBoxEx.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "bench/SilentView.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kLineBytesPerSecond = 960.0;

struct Tally {
    int transfers = 0;
    long bytes = 0;
    double seconds = 0;
    int failures = 0;
};

class Bench {
public:
    // One register read as the program does it; counts both frames' bytes.
    void read(Tally& tally, int replyTimeout, int first, int count)
    {
        vep.SetTimeouts(replyTimeout, Tvep::DefaultCharTimeout);
        const Clock::time_point start = Clock::now();
        const int result =
            vep.Transfer(0, 0, std::span(m_send).first(500), first, count, std::span(m_recv).first(500), true);
        tally.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        tally.transfers += 1;
        tally.bytes += 13 + (8 + 2 * count + 2);
        if (result != Tvep::Ok) {
            ++tally.failures;
            std::fprintf(stderr, "read of %d registers from %d failed: %d\n", count, first, result);
        }
    }

    // Existence, configuration, the four name blocks (each before its 16
    // addresses), 64 stations and the central device, then the link area.
    void fullRead(Tally& tally)
    {
        read(tally, 500, 2100, 64);
        read(tally, 500, 1500, 20);
        read(tally, 1500, 32000, 128);
        for (int a = 1; a <= 64; ++a) {
            if (a - 1 == 16 || a - 1 == 32 || a - 1 == 48)
                read(tally, 1500, 32000 + 128 * ((a - 1) / 16), 128);
            read(tally, 500, DeviceRegisters::StationRecord(a), 20);
        }
        read(tally, 500, DeviceRegisters::StationRecord(0), 20);
        read(tally, 500, DeviceRegisters::LinkArea, DeviceRegisters::LinkAreaCount);
    }

    Tvep vep;

private:
    std::array<uint16_t, 501> m_send{};
    std::array<uint16_t, 501> m_recv{};
};

// The program's own device read, timed as a whole; any message it shows
// counts as a failure.
Tally wholeDeviceRead(Tvep& vep, const Tally& sameTraffic)
{
    Tally tally;
    tally.transfers = sameTraffic.transfers;
    tally.bytes = sameTraffic.bytes;
    SetMessageBoxPresenter([&tally](const MessageBoxRequest& box) {
        ++tally.failures;
        std::fprintf(stderr, "device read says: %s\n", box.text.c_str());
        return idOk;
    });
    ComPortNr = 1;
    ComBaud = 9600;
    ComParity = 'n';
    SilentView view;
    const Clock::time_point start = Clock::now();
    ReadDevice(vep, view);
    tally.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (ModulAnzahl != 65)
        ++tally.failures;
    std::printf("  (read %d modules and %d links)\n", ModulAnzahl - 1, AnzBefehle);
    return tally;
}

void report(const char* what, const Tally& t)
{
    const double lineSeconds = static_cast<double>(t.bytes) / kLineBytesPerSecond;
    std::printf("%-26s %9d %7ld %10.1f ms %10.1f ms %7.2f%s\n", what, t.transfers, t.bytes, lineSeconds * 1000,
                t.seconds * 1000, t.seconds / lineSeconds, t.failures ? "  (with failed transfers)" : "");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string image = programFolder() + "qmx-full64.ini";
    if (argc == 3 && std::string(argv[1]) == "--image") {
        image = argv[2];
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: qmx-read-bench [--image FILE]\n");
        return 2;
    }

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QString::fromStdString(programFolder() + "qmx-sim"), {"--image", QString::fromStdString(image)});
    while (sim.waitForStarted() && !sim.canReadLine() && sim.state() == QProcess::Running)
        sim.waitForReadyRead(10000);
    const std::string path = sim.readLine().trimmed().toStdString();
    if (path.empty()) {
        std::fprintf(stderr, "qmx-sim did not start\n");
        return 1;
    }

    // COM1 is the simulator, through a scratch settings file.
    QTemporaryDir config;
    std::ofstream(config.filePath("Kalmoria.ini").toStdString()) << "[Schnittstellen]\r\nCOM1=" << path << "\r\n";
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);

    Bench bench;
    if (!bench.vep.OpenPort(1, 9600, 'n')) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }

    std::printf("qmx-sim at 9600 bps, %s\n\n", image.c_str());
    std::printf("%-26s %9s %7s %13s %13s %7s\n", "", "transfers", "bytes", "line time", "taken", "ratio");
    Tally config1;
    bench.read(config1, 500, 1500, 20);
    report("configuration read", config1);
    Tally full;
    bench.fullRead(full);
    report("full read, 64 modules", full);
    bench.vep.ClosePort();
    const Tally device = wholeDeviceRead(bench.vep, full);
    report("device read, 64 modules", device);

    std::printf("\nThe client takes a reply as complete after three quiet reads of %d ms, so every\n"
                "transfer carries about %d ms beyond its line time: %.1f s of the full read.\n",
                Tvep::DefaultCharTimeout, 3 * Tvep::DefaultCharTimeout,
                full.transfers * 3 * Tvep::DefaultCharTimeout / 1000.0);

    sim.terminate();
    sim.waitForFinished();
    return config1.failures + full.failures + device.failures == 0 ? 0 : 1;
}
