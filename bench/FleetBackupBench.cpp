// How long `kalmoria-cli backup` takes for N stations (64 unless --stations
// says otherwise; at most 64, the most stations kalmoria-cli reads at a time)
// against the time of one: N qmx-sim at 9600 bps on the 64-module image,
// read with the fast reply end and the default --jobs (every station at
// once). The stations are read on threads of one process, side by side, so
// N should take little longer than one (target: at most 1.3 times) and hold
// little more memory (target: at most 150 MB at its peak). Next to each
// time it prints the backup's peak resident memory, the backup and any
// process it starts together, and the figures measured on this machine
// while each station was read by a process of its own. Prints the figures;
// fails only when a backup fails, never on time or memory.
//
//   fleet-backup-bench [--image FILE] [--stations N]

#include "bench/BenchSim.h"
#include "cli/CliOptions.h"
#include "diag/ProgramFolder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/types.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetRatio = 1.3;
constexpr double kTargetPeakMb = 150;
constexpr int kBackupMs = 10 * 60 * 1000;
// Often enough to catch a station process at its largest: one lives for
// seconds, and a 64-module read grows its tables over the whole read.
constexpr int kSampleMs = 20;

struct Run {
    double seconds = 0;
    int exitCode = -1;
    int saved = 0;     // stations reported with "ok":true
    double peakMb = 0; // the most the backup's processes held resident at one time
};

// The resident set of `pid` in kB, as /proc/PID/status gives it; 0 once the
// process has ended (or is a zombie, which holds no memory).
long long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atoll(line.c_str() + 6);
    return 0;
}

// The parent of `pid`, 0 once it has ended. The command name in
// /proc/PID/stat is in parentheses and may itself hold spaces and ')', so
// the fields are read from behind its last ')': the state, then the parent.
pid_t parentOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(nameEnd + 1));
    char state = 0;
    long long parent = 0;
    fields >> state >> parent;
    return static_cast<pid_t>(parent);
}

// Every process that runs now, by its number.
std::vector<pid_t> runningProcesses()
{
    std::vector<pid_t> pids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); }))
            pids.push_back(static_cast<pid_t>(std::atol(name.c_str())));
    }
    return pids;
}

// `root` and all processes it started, and those they started. The station
// processes of a backup each lead a process group of their own, so only the
// parent links tell which ones are the backup's.
std::vector<pid_t> processTree(pid_t root)
{
    std::multimap<pid_t, pid_t> children;
    for (const pid_t pid : runningProcesses())
        children.emplace(parentOf(pid), pid);
    std::vector<pid_t> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const auto [first, last] = children.equal_range(tree[i]);
        for (auto child = first; child != last; ++child)
            tree.push_back(child->second);
    }
    return tree;
}

// What `root` and its descendants hold resident together, in kB. No pid yet
// is no tree: pid 0 would be taken for the parent of the whole system.
long long treeResidentKb(pid_t root)
{
    if (root <= 0)
        return 0;
    long long sum = 0;
    for (const pid_t pid : processTree(root))
        sum += residentKb(pid);
    return sum;
}

// Waits for `process` to end, up to `deadline`, and meanwhile samples what
// its process tree holds resident: the largest sum seen, in kB.
long long waitSamplingPeakKb(QProcess& process, Clock::time_point deadline)
{
    const auto pid = static_cast<pid_t>(process.processId());
    long long peak = 0;
    do
        peak = std::max(peak, treeResidentKb(pid));
    while (!process.waitForFinished(kSampleMs) && process.state() != QProcess::NotRunning && Clock::now() < deadline);
    return peak;
}

// kalmoria-cli backup of `ports` into `dir`, timed from start to end, with
// its peak resident memory. All stations at once: kalmoria-cli by itself
// reads only eight at a time, which would time the queue, not the reads.
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
    cli.waitForStarted();
    Run run;
    const long long peakKb = waitSamplingPeakKb(cli, start + std::chrono::milliseconds(kBackupMs));
    run.peakMb = static_cast<double>(peakKb) * 1024 / 1e6;
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

// One line of figures: the time, the peak memory in all and per station.
void printRun(const std::string& label, const Run& run, int stations)
{
    std::printf("%-28s %8.2f s  peak %7.1f MB, %6.1f MB per station  (exit code %d, %d saved)\n", label.c_str(),
                run.seconds, run.peakMb, run.peakMb / stations, run.exitCode, run.saved);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string image = programFolder() + "qmx-full64.ini";
    int count = kMaxBackupJobs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--image" && i + 1 < argc)
            image = argv[++i];
        else if (arg == "--stations" && i + 1 < argc && std::atoi(argv[i + 1]) >= 1 &&
                 std::atoi(argv[i + 1]) <= kMaxBackupJobs)
            count = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: fleet-backup-bench [--image FILE] [--stations N (1 to %d)]\n",
                         kMaxBackupJobs);
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
    printRun("1 station", one, 1);
    const Run all = backup(ports, scratch.filePath(QStringLiteral("all")));
    printRun(std::to_string(count) + " stations at once", all, count);
    const double ratio = all.seconds / one.seconds;
    std::printf("\nratio %.2f (target at most %.1f: %s); %.2f s per station instead of %.2f s one after another\n",
                ratio, kTargetRatio, ratio <= kTargetRatio ? "met" : "missed", all.seconds / count, one.seconds);
    std::printf("peak %.1f MB (target at most %.0f MB: %s)\n", all.peakMb, kTargetPeakMb,
                all.peakMb <= kTargetPeakMb ? "met" : "missed");
    // Measured here, on the 64-module image, when every station was read by a
    // kalmoria-cli process of its own (summed resident memory of them all).
    std::printf("\nbefore, a process per station: 1 station 6.5 s, 35.6 MB; 16 at once 6.68 s, 304.4 MB;\n"
                "64 at once (--jobs 64) 7.23 s, 1165.2 MB; the default of eight at a time took 13.0 s for 16\n");

    for (auto& sim : sims) {
        sim->terminate();
        sim->waitForFinished();
    }
    const bool worked = one.exitCode == 0 && one.saved == 1 && all.exitCode == 0 && all.saved == count;
    if (!worked)
        std::fprintf(stderr, "a backup failed\n");
    return worked ? 0 : 1;
}
