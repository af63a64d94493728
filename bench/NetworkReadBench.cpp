// How long the program's whole device read takes over a network port of a
// serial device server against the local pseudo-terminal it serves.
//
// Starts qmx-sim (the demo device unless --image says otherwise; paced like
// a 9600 bps line unless --no-pacing) and ser2net in front of its
// pseudo-terminal twice, raw and with RFC 2217, on free local TCP ports.
// Times ReadDevice through each, several runs, and prints the median: the
// pseudo-terminal with the quiet line end (the default) and with the fast
// reply end, tcp:// and rfc2217:// (which always end replies when whole).
//
//   qmx-network-bench [--image FILE] [--no-pacing] [--runs N]

#include "bench/BenchSim.h"
#include "bench/SilentView.h"
#include "sequences/DeviceRead.h"
#include "protocol/Tvep.h"
#include "diag/ProgramFolder.h"
#include "i18n/NoticeText.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "transports/LineFactory.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Binds 127.0.0.1:`port` (0: any) without listening: the port got, 0 when taken.
uint16_t bindLocal(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    uint16_t got = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        got = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return got;
}

// ser2net in front of `device` on a free port, with `accepter` ("tcp" or
// "telnet(rfc2217),tcp"): the port it listens on, 0 when it did not start.
uint16_t startSer2net(QProcess& server, const QTemporaryDir& folder, const std::string& device,
                      const std::string& accepter, const std::string& name)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    const uint16_t port = bindLocal(0);
    const std::string file = folder.filePath(QString::fromStdString(name + ".yaml")).toStdString();
    std::ofstream(file) << "%YAML 1.1\n---\nconnection: &bench\n    accepter: " << accepter << ",127.0.0.1," << port
                        << "\n    connector: serialdev," << device << ",9600n81,local\n"
                        << "    options:\n        mdns: false\n";
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(program,
                 {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"), QString::fromStdString(file)});
    if (program.isEmpty() || !server.waitForStarted())
        return 0;
    for (int i = 0; i < 2000 && server.state() == QProcess::Running; ++i) {
        if (bindLocal(port) == 0)
            return port;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 0;
}

struct Timing {
    std::vector<double> seconds;
    int failures = 0;
    int modules = 0; // as the last read found them
    int links = 0;

    double median() const
    {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
};

// The device read on COM1 mapped to `port`, `runs` times.
Timing timeReads(const QTemporaryDir& config, const std::string& port, bool fast, int runs)
{
    MapBenchPorts(config, {port});
    Timing timing;
    for (int run = 0; run < runs; ++run) {
        Tvep vep{SystemLines()};
        vep.FastReplyEnd = fast;
        SilentView view;
        Station station = BenchStation();
        const Clock::time_point start = Clock::now();
        const DeviceReadResult result = ReadDevice(vep, station, view);
        timing.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        timing.modules = station.ModulAnzahl;
        timing.links = station.AnzBefehle;
        if (!result.ok()) {
            ++timing.failures;
            for (const Notice& notice : result.notices)
                std::fprintf(stderr, "%s: the program says: %s\n", port.c_str(), NoticeText(notice).c_str());
        }
    }
    return timing;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string image = programFolder() + "qmx-demo.ini";
    bool paced = true;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--image" && i + 1 < argc) {
            image = argv[++i];
        } else if (argument == "--no-pacing") {
            paced = false;
        } else if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: qmx-network-bench [--image FILE] [--no-pacing] [--runs N]\n");
            return 2;
        }
    }

    QProcess sim;
    QStringList simArguments{QStringLiteral("--image"), QString::fromStdString(image)};
    if (!paced)
        simArguments << QStringLiteral("--no-pacing");
    const std::string pty = StartBenchSim(sim, simArguments);
    if (pty.empty()) {
        std::fprintf(stderr, "qmx-sim did not start\n");
        return 1;
    }
    QTemporaryDir config;
    QProcess raw;
    QProcess telnet;
    const uint16_t rawPort = startSer2net(raw, config, pty, "tcp", "raw");
    const uint16_t telnetPort = startSer2net(telnet, config, pty, "telnet(rfc2217),tcp", "rfc2217");
    if (rawPort == 0 || telnetPort == 0) {
        std::fprintf(stderr, "ser2net did not start (is it installed? scripts/setup.sh installs it)\n");
        return 1;
    }

    std::printf("device read of %s, qmx-sim %s, median of %d runs\n\n", image.c_str(),
                paced ? "paced like 9600 bps" : "at full speed (--no-pacing)", runs);
    struct Way {
        const char* what;
        std::string port;
        bool fast;
    };
    const std::vector<Way> ways{
        {"pseudo-terminal, quiet line end", pty, false},
        {"pseudo-terminal, fast reply end", pty, true},
        {"ser2net raw (tcp://)", "tcp://127.0.0.1:" + std::to_string(rawPort), false},
        {"ser2net RFC 2217 (rfc2217://)", "rfc2217://127.0.0.1:" + std::to_string(telnetPort), false},
    };
    double fastPty = 0;
    int failures = 0;
    Timing last;
    for (const Way& way : ways) {
        const Timing timing = timeReads(config, way.port, way.fast, runs);
        last = timing;
        failures += timing.failures;
        const double median = timing.median();
        if (way.port == pty && way.fast)
            fastPty = median;
        std::printf("%-34s %8.0f ms", way.what, median * 1000);
        if (fastPty > 0 && way.port != pty)
            std::printf("   %.2f x the pseudo-terminal's fast reply end", median / fastPty);
        std::printf("%s\n", timing.failures ? "  (with failures)" : "");
    }
    std::printf("\n%d modules, %d links. Over the network replies always end when whole.\n", last.modules, last.links);

    raw.terminate();
    telnet.terminate();
    raw.waitForFinished();
    telnet.waitForFinished();
    sim.terminate();
    sim.waitForFinished();
    return failures == 0 ? 0 : 1;
}
