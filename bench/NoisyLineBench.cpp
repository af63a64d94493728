// What retries cost on a noisy line: the program's whole device read of a
// 64-module device at 9600 bps, once over a clean line and once over one
// where every 20th reply arrives with a broken CRC, with the default of two
// retries, both ways of ending a reply. The noisy read must succeed and cost
// no more than the retried transfers: each a quiet line of about a reply
// time-out after the broken reply, and the transfer again.
//
//   qmx-noisy-line-bench

#include "bench/BenchSim.h"
#include "bench/SilentView.h"
#include "sequences/DeviceRead.h"
#include "protocol/Tvep.h"
#include "diag/DiagnosticLog.h"
#include "diag/ErrLog.h"
#include "diag/ErrLogCollector.h"
#include "model/ModuleModel.h"
#include "transports/LineFactory.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>

namespace {

struct ReadRun {
    bool ok = false;
    double seconds = 0;
    int retried = 0; // failed attempts that were repeated
};

ReadRun timedRead(const QStringList& faults, bool fast)
{
    QProcess sim;
    const std::string path =
        StartBenchSim(sim, QStringList{"--image", QString::fromStdString(programFolder() + "qmx-full64.ini")} + faults);
    QTemporaryDir config;
    MapBenchPorts(config, {path});
    Station station = BenchStation();

    // The failed attempts are counted from the log's lines of them (bit 8).
    QTemporaryDir logFolder;
    std::ofstream(logFolder.filePath("DEBUG").toStdString()) << "8";
    DiagnosticLog log(DiagnosticLog::Setup{logFolder.path().toStdString() + "/", logFolder.path().toStdString(), {}, {}});
    log.startup();
    DiagnosticLog* const previous = RouteErrLogForTesting(&log);
    ErrLogCollector lines;

    Tvep vep{SystemLines()};
    vep.FastReplyEnd = fast;
    vep.Retries = Tvep::DefaultRetries;
    SilentView view;
    const auto start = std::chrono::steady_clock::now();
    const DeviceReadResult result = ReadDevice(vep, station, view);
    ReadRun run{result.ok(), std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0};
    for (const std::string& line : lines.Take())
        run.retried += line.starts_with("VEPtransfer Versuch");
    RouteErrLogForTesting(previous);
    sim.terminate();
    sim.waitForFinished();
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("device read of 64 modules at 9600 bps, %d retries\n\n", Tvep::DefaultRetries);
    std::printf("%-16s %12s %12s %9s %14s %16s\n", "reply end", "clean line", "1 in 20 bad", "retried",
                "extra taken", "extra per retry");
    bool allRead = true;
    for (const bool fast : {false, true}) {
        const ReadRun clean = timedRead({}, fast);
        const ReadRun noisy = timedRead({"--fail-every", "20", "--bad-crc"}, fast);
        allRead = allRead && clean.ok && noisy.ok;
        const double extra = noisy.seconds - clean.seconds;
        std::printf("%-16s %10.2f s %10.2f s %9d %12.2f s %14.0f ms%s\n", fast ? "fast" : "quiet line",
                    clean.seconds, noisy.seconds, noisy.retried, extra,
                    noisy.retried > 0 ? extra * 1000 / noisy.retried : 0.0,
                    clean.ok && noisy.ok ? "" : "  (a read failed)");
    }
    std::printf("\nA retried transfer costs the quiet line after the broken reply (about one reply\n"
                "time-out, 500 ms) and the transfer once more.\n");
    return allRead ? 0 : 1;
}
