// How long `kalmoria-cli backup` takes for eight stations at once against the
// time of one: eight qmx-sim at 9600 bps on the 64-module image, read with
// the fast reply end. The stations are read in processes of their own, side
// by side, so eight should take little longer than one (target: at most 1.3
// times). Prints the figures; fails only when a backup fails, never on time.
//
//   fleet-backup-bench [--image FILE] [--stations N]

#include "bench/BenchSim.h"
#include "diag/ProgramFolder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetRatio = 1.3;
constexpr int kBackupMs = 10 * 60 * 1000;

struct Run {
    double seconds = 0;
    int exitCode = -1;
    int saved = 0; // stations reported with "ok":true
};

// kalmoria-cli backup of `ports` into `dir`, timed from start to end.
Run backup(const std::vector<std::string>& ports, const QString& dir)
{
    QStringList arguments{QStringLiteral("backup"), QStringLiteral("--fast"), QStringLiteral("--quiet"),
                          QStringLiteral("--dir"), dir};
    for (const std::string& port : ports)
        arguments << QStringLiteral("--port") << QString::fromStdString(port);
    QProcess cli;
    cli.setProcessChannelMode(QProcess::SeparateChannels);
    const Clock::time_point start = Clock::now();
    cli.start(QString::fromStdString(programFolder() + "kalmoria-cli"), arguments);
    cli.waitForFinished(kBackupMs);
    Run run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (cli.exitStatus() == QProcess::NormalExit)
        run.exitCode = cli.exitCode();
    for (const QByteArray& line : cli.readAllStandardOutput().split('\n'))
        run.saved += line.contains("\"ok\":true") ? 1 : 0;
    const QByteArray errors = cli.readAllStandardError();
    if (!errors.isEmpty())
        std::fprintf(stderr, "%s", errors.constData());
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string image = programFolder() + "qmx-full64.ini";
    int count = 8;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--image" && i + 1 < argc)
            image = argv[++i];
        else if (arg == "--stations" && i + 1 < argc && std::atoi(argv[i + 1]) >= 1)
            count = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: fleet-backup-bench [--image FILE] [--stations N]\n");
            return 2;
        }
    }

    // The program's settings and data in a scratch folder, not the user's.
    QTemporaryDir scratch;
    setenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);

    std::vector<std::unique_ptr<QProcess>> sims;
    std::vector<std::string> ports;
    for (int i = 0; i < count; ++i) {
        sims.push_back(std::make_unique<QProcess>());
        const std::string path = StartBenchSim(*sims.back(), {"--image", QString::fromStdString(image)});
        if (path.empty()) {
            std::fprintf(stderr, "qmx-sim %d did not start\n", i + 1);
            return 1;
        }
        ports.push_back(path);
    }

    // The program's files are in the cache before anything is timed.
    QProcess warm;
    warm.start(QString::fromStdString(programFolder() + "kalmoria-cli"), {QStringLiteral("--version")});
    warm.waitForFinished();

    std::printf("kalmoria-cli backup --fast, qmx-sim at 9600 bps, %s\n\n", image.c_str());
    const Run one = backup({ports.front()}, scratch.filePath(QStringLiteral("one")));
    std::printf("%-28s %8.2f s  (exit code %d, %d saved)\n", "1 station", one.seconds, one.exitCode, one.saved);
    const Run all = backup(ports, scratch.filePath(QStringLiteral("all")));
    const std::string label = std::to_string(count) + " stations at once";
    std::printf("%-28s %8.2f s  (exit code %d, %d saved)\n", label.c_str(), all.seconds, all.exitCode, all.saved);
    const double ratio = all.seconds / one.seconds;
    std::printf("\nratio %.2f (target at most %.1f: %s); %.2f s per station instead of %.2f s one after another\n",
                ratio, kTargetRatio, ratio <= kTargetRatio ? "met" : "missed", all.seconds / count, one.seconds);

    for (auto& sim : sims) {
        sim->terminate();
        sim->waitForFinished();
    }
    const bool worked = one.exitCode == 0 && one.saved == 1 && all.exitCode == 0 && all.saved == count;
    if (!worked)
        std::fprintf(stderr, "a backup failed\n");
    return worked ? 0 : 1;
}
