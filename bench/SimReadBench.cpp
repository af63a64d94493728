// How long the program's register traffic takes against a device at 9600 bps,
// compared with the time its bytes need on the line (960 bytes per second),
// once with replies ending on the quiet line (the default) and once with the
// fast reply end, side by side.
//
// Starts qmx-sim with pacing on a 64-module image, reaches it through COM1
// with the program's protocol client, and times one configuration read, a
// full read of every register block in the order the device read uses, the
// program's whole device read (model, names, links and all) and the write of
// the link table it read back to the device, plain and checked. The full
// read runs a second time with a capture of every frame into a pcapng file,
// which must cost nothing one can measure.
//
//   qmx-read-bench [--image FILE]

#include "bench/BenchSim.h"
#include "bench/SilentView.h"
#include "capture/LiveCapture.h"
#include "io/NewFile.h"
#include "sequences/CheckedLinkWrite.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/LinkWrite.h"
#include "sequences/SequenceObserver.h"
#include "protocol/Tvep.h"
#include "diag/ProgramFolder.h"
#include "i18n/LanguageTexts.h"
#include "i18n/NoticeText.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "transports/LineFactory.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kLineBytesPerSecond = 960.0;
// What the quiet line adds to every transfer: three character time-outs.
constexpr double kQuietLineSeconds = 3 * Tvep::DefaultCharTimeout / 1000.0;

struct Tally {
    int transfers = 0;
    long bytes = 0;
    double seconds = 0;
    int failures = 0;

    double lineSeconds() const { return static_cast<double>(bytes) / kLineBytesPerSecond; }
    // Line time plus the quiet line after every reply: what the default costs at best.
    double quietLineBudget() const { return lineSeconds() + transfers * kQuietLineSeconds; }
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Every notice of a sequence counts as a failure, except one numbered `expected`.
void watchNotices(Tally& tally, const std::vector<Notice>& notices, int expected = 0)
{
    for (const Notice& notice : notices) {
        if (notice.number != expected) {
            ++tally.failures;
            std::fprintf(stderr, "the program says: %s\n", NoticeText(notice).c_str());
        }
    }
}

// Both frames of a read of `count` registers, and of a write of `count`.
long readBytes(int count) { return 13 + (8 + 2 * count + 2); }
long writeBytes(int count) { return (11 + 2 * count + 2) + (8 + 2); }

class Bench {
public:
    explicit Bench(bool fastReplyEnd)
    {
        m_vep.FastReplyEnd = fastReplyEnd;
        m_vep.TapFramesInto(&m_frames);
    }

    FrameTap& Frames() { return m_frames; }

    // The links the last device read found.
    int links() const { return m_station.AnzBefehle; }

    Tally configurationRead()
    {
        Tally tally;
        openPort(tally);
        read(tally, 500, DeviceRegisters::Configuration, DeviceRegisters::ConfigurationCount);
        m_vep.ClosePort();
        return tally;
    }

    // Existence, configuration, the four name blocks (each before its 16
    // addresses), 64 stations and the central device, then the link area.
    Tally fullRead()
    {
        Tally tally;
        openPort(tally);
        read(tally, 500, DeviceRegisters::ModuleExistence, DeviceRegisters::ModuleExistenceCount);
        read(tally, 500, DeviceRegisters::Configuration, DeviceRegisters::ConfigurationCount);
        read(tally, 1500, DeviceRegisters::NameBlocks, DeviceRegisters::NameBlockCount);
        for (int a = 1; a <= 64; ++a) {
            if (a - 1 == 16 || a - 1 == 32 || a - 1 == 48)
                read(tally, 1500, DeviceRegisters::NameBlocks + DeviceRegisters::NameBlockCount * ((a - 1) / 16),
                     DeviceRegisters::NameBlockCount);
            read(tally, 500, DeviceRegisters::StationRecord(a), DeviceRegisters::StationDataCount);
        }
        read(tally, 500, DeviceRegisters::StationRecord(0), DeviceRegisters::StationDataCount);
        read(tally, 500, DeviceRegisters::LinkArea, DeviceRegisters::LinkAreaCount);
        m_vep.ClosePort();
        return tally;
    }

    // The program's own device read, timed as a whole.
    Tally deviceRead(const Tally& sameTraffic)
    {
        Tally tally;
        tally.transfers = sameTraffic.transfers;
        tally.bytes = sameTraffic.bytes;
        const Clock::time_point start = Clock::now();
        const DeviceReadResult result = ReadDevice(m_vep, m_station, m_view);
        tally.seconds = secondsSince(start);
        watchNotices(tally, result.notices);
        if (m_station.ModulAnzahl != 65)
            ++tally.failures;
        return tally;
    }

    // The link table just read goes back to the device in one transfer.
    Tally linkWrite()
    {
        Tally tally;
        tally.transfers = 1;
        tally.bytes = writeBytes(4 * (m_station.AnzBefehle + 1));
        const Clock::time_point start = Clock::now();
        const LinkWriteResult result = WriteLinksToDevice(m_vep, m_station, &m_view);
        tally.seconds = secondsSince(start);
        watchNotices(tally, result.notices, 20);
        return tally;
    }

    // The same write checked: configuration, module existence and a
    // snapshot before it, the read-back after it.
    Tally checkedLinkWrite()
    {
        Tally tally;
        tally.transfers = 5;
        tally.bytes = readBytes(DeviceRegisters::ConfigurationCount) + readBytes(DeviceRegisters::ModuleExistenceCount)
                      + 2 * readBytes(DeviceRegisters::LinkAreaCount) + writeBytes(4 * (m_station.AnzBefehle + 1));
        const auto noQuestion = [&tally](const StationCheck&) {
            ++tally.failures;
            return false;
        };
        const Clock::time_point start = Clock::now();
        const CheckedLinkWriteResult result = WriteLinksChecked(m_vep, m_station, &m_view, {}, {}, noQuestion);
        tally.seconds = secondsSince(start);
        watchNotices(tally, result.notices, kMessageWrittenAndChecked);
        return tally;
    }

private:
    void openPort(Tally& tally)
    {
        if (!m_vep.OpenPort(m_station.ComPortNr, m_station.ComBaud, m_station.ComParity)) {
            ++tally.failures;
            std::fprintf(stderr, "cannot open COM%d\n", m_station.ComPortNr);
        }
    }

    // One register read as the program does it; counts both frames' bytes.
    void read(Tally& tally, int replyTimeout, int first, int count)
    {
        m_vep.SetTimeouts(replyTimeout, Tvep::DefaultCharTimeout);
        const Clock::time_point start = Clock::now();
        const int result =
            m_vep.Transfer(0, 0, std::span(m_send).first(500), first, count, std::span(m_recv).first(500), true);
        tally.seconds += secondsSince(start);
        tally.transfers += 1;
        tally.bytes += readBytes(count);
        if (result != Tvep::Ok) {
            ++tally.failures;
            std::fprintf(stderr, "read of %d registers from %d failed: %s\n", count, first, Tvep::ResultText(result));
        }
    }

    FrameTap m_frames;
    Tvep m_vep{SystemLines()};
    Station m_station = BenchStation();
    SilentView m_view;
    std::array<uint16_t, 501> m_send{};
    std::array<uint16_t, 501> m_recv{};
};

struct Row {
    const char* what;
    Tally quietLine;
    Tally fast;
};

void report(const Row& row)
{
    const Tally& q = row.quietLine;
    const Tally& f = row.fast;
    std::printf("%-24s %9d %6ld %9.0f ms | %9.0f ms %6.2f %7.3f | %9.0f ms %6.2f%s\n", row.what, q.transfers, q.bytes,
                q.lineSeconds() * 1000, q.seconds * 1000, q.seconds / q.lineSeconds(), q.seconds / q.quietLineBudget(),
                f.seconds * 1000, f.seconds / f.lineSeconds(),
                q.failures + f.failures ? "  (with failures)" : "");
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
    const std::string path = StartBenchSim(sim, {"--image", QString::fromStdString(image)});
    if (path.empty()) {
        std::fprintf(stderr, "qmx-sim did not start\n");
        return 1;
    }

    // COM1 is the simulator, through a scratch settings file.
    QTemporaryDir config;
    MapBenchPorts(config, {path});
    // The checked write's snapshots go beside the settings.
    setenv("XDG_DATA_HOME", config.path().toLocal8Bit().constData(), 1);
    std::printf("qmx-sim at 9600 bps, %s\n\n", image.c_str());
    std::printf("%-24s %9s %6s %12s | %-27s | %s\n", "", "", "", "", "quiet line end (default)", "fast reply end");
    std::printf("%-24s %9s %6s %12s | %12s %6s %7s | %12s %6s\n", "", "transfers", "bytes", "line time", "taken",
                "×line", "×budget", "taken", "×line");

    std::array<Row, 6> rows{{{"configuration read", {}, {}},
                             {"full read, 64 modules", {}, {}},
                             {"full read, captured", {}, {}},
                             {"device read, 64 modules", {}, {}},
                             {"link write", {}, {}},
                             {"link write, checked", {}, {}}}};
    int links = 0;
    for (const bool fast : {false, true}) {
        Bench bench(fast);
        const auto column = fast ? &Row::fast : &Row::quietLine;
        rows[0].*column = bench.configurationRead();
        rows[1].*column = bench.fullRead();
        {
            const LiveCapture capture(bench.Frames(),
                                      CreateNamedFile(config.filePath(QStringLiteral("bench.pcapng")).toStdString()));
            rows[2].*column = bench.fullRead();
            (rows[2].*column).failures += capture.ok() ? 0 : 1;
        }
        rows[3].*column = bench.deviceRead(rows[1].*column);
        rows[4].*column = bench.linkWrite();
        rows[5].*column = bench.checkedLinkWrite();
        links = bench.links();
    }
    int failures = 0;
    for (const Row& row : rows) {
        report(row);
        failures += row.quietLine.failures + row.fast.failures;
    }
    std::printf("\nline time: both frames at 960 bytes/s; budget: line time plus the %.0f ms of quiet\n"
                "line after every reply that ends a transfer by default (three character time-outs).\n"
                "Beyond the budget by default: three 1 ms reads for stale input before each request,\n"
                "and the device's own turnaround. The fast reply end waits two characters after a\n"
                "whole reply. The link write sends the %d links the device read found and their end slot;\n"
                "checked, it reads the configuration, the module list and the link area before and the\n"
                "link area after (\"Schreiben pr\xC3\xBC" "fen\", the default in Kalmoria).\n",
                kQuietLineSeconds * 1000, links);

    sim.terminate();
    sim.waitForFinished();
    return failures == 0 ? 0 : 1;
}
