// kalmoria-cli backup: many simulated stations at once, their files read
// back with the link file reader, the JSON lines, exit codes, and signals.

#include "model/LinkFile.h"
#include "tests/cli/CliProcess.h"
#include "tests/common/QmxSim.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Link = std::array<int, 8>; // ModulQ, RegVon, BitVon, AnzBit, ModulZ, RegZ, BitZ, deaktiv

// One station of a backup: the CLI tests' station behind a serial number
// and an address of its own, with links of its own.
struct BackupStation {
    int serial;
    int address;
    std::vector<Link> links;
};

std::string image(const BackupStation& station)
{
    return cliStation()
        .Serial(static_cast<uint16_t>(station.serial))
        .Address(station.address)
        .Links(station.links)
        .DeviceImage();
}

const BackupStation kNorth{4242, 30, {{7, 100, 0, 4, 12, 300, 0, 0}, {12, 150, 0, 16, 7, 350, 0, 1}}};
const BackupStation kSouth{815, 20, {{12, 151, 3, 12, 12, 350, 4, 0}}};
const BackupStation kEast{7001, 40, {{7, 100, 1, 2, 12, 301, 5, 1}, {12, 152, 0, 8, 7, 351, 0, 0}, {7, 101, 0, 1, 12, 302, 9, 0}}};

std::vector<Link> fields(const std::vector<LinkRecord>& links)
{
    std::vector<Link> result;
    for (const LinkRecord& l : links)
        result.push_back({l.ModulQ, l.RegVon, l.BitVon, l.AnzBit, l.ModulZ, l.RegZ, l.BitZ, l.deaktiv});
    return result;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The JSON lines of a backup by their port.
std::map<std::string, QJsonObject> linesByPort(const std::string& out)
{
    std::map<std::string, QJsonObject> lines;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find('\n', start);
        const QJsonObject line =
            QJsonDocument::fromJson(QByteArray::fromStdString(out.substr(start, end - start))).object();
        lines[line[QStringLiteral("port")].toString().toStdString()] = line;
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return lines;
}

// A metrics file as Prometheus reads it, through the Prometheus client's own
// parser: (family, station label) -> (serial label or "<none>", value); every family
// that has its HELP and TYPE also as (family, "# TYPE <type>").
using Metrics = std::map<std::pair<std::string, std::string>, std::pair<std::string, double>>;
Metrics prometheusMetrics(const std::string& file)
{
    constexpr const char* kScript = R"(
import json, sys
from prometheus_client.parser import text_string_to_metric_families
families = list(text_string_to_metric_families(open(sys.argv[1], encoding="utf-8").read()))
print(json.dumps([[f.name, "# TYPE " + f.type, "", 0] for f in families if f.documentation]
                 + [[s.name, s.labels["station"], s.labels.get("serial", "<none>"), s.value]
                    for f in families for s in f.samples]))
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kScript),
                                                      QString::fromStdString(file)});
    python.waitForFinished();
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    Metrics metrics;
    for (const QJsonValue row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        const QJsonArray fields = row.toArray();
        metrics[{fields[0].toString().toStdString(), fields[1].toString().toStdString()}] = {
            fields[2].toString().toStdString(), fields[3].toDouble()};
    }
    return metrics;
}

std::size_t lineCount(const std::string& out)
{
    return static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
}

// Every file below `dir`, relative to it.
std::vector<std::string> filesBelow(const std::string& dir)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(dir, error)) {
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), dir).string());
    }
    std::ranges::sort(files);
    return files;
}

// A link file without its time stamp line ("05=|-----     <when>").
std::string withoutStamp(const std::string& content)
{
    const std::size_t stamp = content.find("\r\n05=");
    return stamp == std::string::npos ? content
                                      : content.substr(0, stamp) + content.substr(content.find("\r\n", stamp + 2));
}

class CliBackup : public testing::Test {
protected:
    // A simulated station at full speed, or paced with `options`.
    std::string startStation(const BackupStation& station, const QStringList& options = {})
    {
        const std::string name = "station" + std::to_string(stations.size()) + ".ini";
        cli.files.write(name, image(station));
        stations.push_back(std::make_unique<QmxSim>(cli.files.file(name), options));
        EXPECT_FALSE(stations.back()->path().empty()) << "qmx-sim did not start";
        return stations.back()->path();
    }
    // Station `index` served anew from `station`'s image, on a new line.
    std::string replaceStation(std::size_t index, const BackupStation& station)
    {
        const std::string name = "station" + std::to_string(index) + "-again.ini";
        cli.files.write(name, image(station));
        stations[index] = std::make_unique<QmxSim>(cli.files.file(name));
        return stations[index]->path();
    }
    std::string dir(const std::string& name = "backup") const { return cli.files.file(name); }
    CliProcess::Result backup(QStringList arguments, const std::string& into = "backup") const
    {
        return cli.run(QStringList{QStringLiteral("backup"), QStringLiteral("--fast"), QStringLiteral("--dir"),
                                   QString::fromStdString(dir(into))}
                       + arguments);
    }
    static QStringList ports(const std::vector<std::string>& paths)
    {
        QStringList arguments;
        for (const std::string& path : paths)
            arguments << QStringLiteral("--port") << QString::fromStdString(path);
        return arguments;
    }

    CliProcess cli;
    std::vector<std::unique_ptr<QmxSim>> stations;
};

} // namespace

TEST_F(CliBackup, SavesEveryStationThatAnswersAndEndsWith2WhenOneDoesNot)
{
    const std::string north = startStation(kNorth);
    const std::string silent = startStation(kSouth, {QStringLiteral("--silent")});
    const std::string south = startStation(kSouth);
    const std::string absent = cli.files.file("no-such-port");
    const std::string east = startStation(kEast);

    // The silent one fails sooner without repeats: --retries reaches each station's read.
    const auto result = backup(ports({north, silent, south, absent, east})
                               + QStringList{QStringLiteral("--retries"), QStringLiteral("0")});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    ASSERT_EQ(lineCount(result.out), 5u) << "one line per station: " << result.out;
    const auto lines = linesByPort(result.out);

    for (const auto& [path, station] : {std::pair{north, kNorth}, std::pair{south, kSouth}, std::pair{east, kEast}}) {
        ASSERT_TRUE(lines.contains(path)) << result.out;
        const QJsonObject line = lines.at(path);
        EXPECT_TRUE(line[QStringLiteral("ok")].toBool()) << path;
        EXPECT_EQ(line[QStringLiteral("serial")].toInt(), station.serial);
        EXPECT_EQ(line[QStringLiteral("address")].toInt(), station.address);
        EXPECT_EQ(line[QStringLiteral("type")].toInt(), 0x0900);
        EXPECT_EQ(line[QStringLiteral("links")].toInt(), static_cast<int>(station.links.size()));
        EXPECT_TRUE(line[QStringLiteral("error")].isNull());

        // DIR/<serial number>/<YYYY-MM-DD_HH-MM-SSZ>.ini, strictly readable,
        // with the image's links, the station and the module overview.
        const std::string file = line[QStringLiteral("file")].toString().toStdString();
        const std::string folder = dir() + "/" + std::to_string(station.serial) + "/";
        ASSERT_TRUE(file.starts_with(folder)) << file;
        EXPECT_EQ(file.size(), folder.size() + 24) << file;
        const LinkFileLoad load = LoadLinkFile(file);
        ASSERT_TRUE(load.ok()) << load.reason;
        EXPECT_EQ(fields(load.links), station.links) << path;
        ASSERT_TRUE(load.origin.has_value());
        EXPECT_EQ(*load.origin, (StationIdentity{static_cast<uint16_t>(station.serial), station.address, 0x0900}));
        EXPECT_TRUE(contains(cli.files.read(fs::relative(file, cli.files.path()).string()),
                             "02=" + std::to_string(station.address + 7) + ", SK40F, Hochbeh\xE4lter, "))
            << "the module overview, as Windows-1252";
    }
    for (const std::string& failed : {silent, absent}) {
        ASSERT_TRUE(lines.contains(failed)) << result.out;
        const QJsonObject line = lines.at(failed);
        EXPECT_FALSE(line[QStringLiteral("ok")].toBool());
        EXPECT_TRUE(line[QStringLiteral("file")].isNull());
        EXPECT_TRUE(line[QStringLiteral("serial")].isNull());
        EXPECT_FALSE(line[QStringLiteral("error")].toString().isEmpty());
    }
    // Not a terminal: no progress, one error line for each failed station, naming its port.
    ASSERT_EQ(result.errorLines().size(), 3u) << result.err;
    EXPECT_TRUE(result.errorLines()[0].starts_with("kalmoria-cli: Fehler: ")) << result.err;
    EXPECT_TRUE(contains(result.err, silent + ": ") && contains(result.err, absent + ": ")) << result.err;
    EXPECT_TRUE(contains(result.errorLines()[2], "3 von 5 Stationen gespeichert")) << result.err;
    EXPECT_EQ(filesBelow(dir()).size(), 3u);
}

TEST_F(CliBackup, OnATerminalEachStationGetsItsLineAsItEnds)
{
    const std::string north = startStation(kNorth);
    const std::string south = startStation(kSouth);
    // Standard error on a pseudo-terminal, through a shell; the test reads its other side.
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const std::string errorSide = ptsname(terminal);
    cli.program = "/bin/sh";
    const auto result =
        cli.run(QStringList{QStringLiteral("-c"), QStringLiteral("t=$1; shift; exec \"$0\" \"$@\" 2>\"$t\""),
                            QString::fromStdString(QmxSim::binDir() + "/kalmoria-cli"),
                            QString::fromStdString(errorSide), QStringLiteral("backup"), QStringLiteral("--fast"),
                            QStringLiteral("--dir"), QString::fromStdString(dir())}
                + ports({north, south}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::string shown;
    fcntl(terminal, F_SETFL, O_NONBLOCK);
    char buffer[4096];
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, static_cast<std::size_t>(got));
    ::close(terminal);
    EXPECT_TRUE(contains(shown, "[1/2] ") && contains(shown, "[2/2] ")) << shown;
    EXPECT_TRUE(contains(shown, north + ": 2 Verkn\xC3\xBCpfungen aus der QMX in " + dir() + "/4242/")) << shown;
    EXPECT_TRUE(contains(shown, south + ": 1 Verkn\xC3\xBCpfung aus der QMX in " + dir() + "/815/")) << shown;
    EXPECT_TRUE(contains(shown, "2 von 2 Stationen gespeichert")) << shown;
}

TEST_F(CliBackup, TwoStationsOfOneSerialNumberAreKeptApartByPortAndSettle)
{
    const std::string first = startStation(kNorth);
    BackupStation copied = kNorth;
    copied.links.pop_back();
    const std::string second = startStation(copied);
    const std::string metricsFile = cli.files.file("node/kalmoria.prom");
    const QStringList arguments = ports({first, second}) + QStringList{QStringLiteral("--metrics"),
                                                                       QString::fromStdString(metricsFile)};
    const auto fileOf = [](const std::map<std::string, QJsonObject>& lines, const std::string& port) {
        return lines.at(port)[QStringLiteral("file")].toString().toStdString();
    };
    // The warning, once a run, naming the serial number and both ports.
    const auto warnings = [&](const CliProcess::Result& result) {
        return std::ranges::count_if(result.errorLines(), [&](const std::string& line) {
            return contains(line, " 4242") && contains(line, first) && contains(line, second);
        });
    };

    const auto result = backup(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const auto lines = linesByPort(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    EXPECT_NE(fileOf(lines, first), fileOf(lines, second));
    EXPECT_EQ(fields(LoadLinkFile(fileOf(lines, first)).links), kNorth.links);
    EXPECT_EQ(fields(LoadLinkFile(fileOf(lines, second)).links), copied.links);
    EXPECT_EQ(warnings(result), 1) << result.err;

    // Nothing changed: each station is compared with its own links, in a
    // folder of its port that the second run finds again.
    const auto again = backup(arguments);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    const auto linesAgain = linesByPort(again.out);
    ASSERT_EQ(linesAgain.size(), 2u) << again.out;
    const Metrics metrics = prometheusMetrics(metricsFile);
    for (const auto& [port, station] : {std::pair{first, kNorth}, std::pair{second, copied}}) {
        EXPECT_EQ(linesAgain.at(port)[QStringLiteral("changed")], QJsonValue(false)) << port;
        std::string folder = port;
        std::ranges::replace(folder, '/', '_');
        EXPECT_TRUE(fileOf(linesAgain, port).starts_with(dir() + "/4242/" + folder + "/")) << fileOf(linesAgain, port);
        EXPECT_EQ(fields(LoadLinkFile(fileOf(linesAgain, port)).links), station.links);
        EXPECT_EQ(metrics.at({"kalmoria_station_links_changed", port}), (std::pair<std::string, double>{"4242", 0}))
            << port;
    }
    EXPECT_EQ(warnings(again), 1) << again.err;
}

TEST_F(CliBackup, TakesTheStationsOfAListWithCommentsBesideThoseOfPort)
{
    const std::string north = startStation(kNorth);
    const std::string south = startStation(kSouth);
    const std::string east = startStation(kEast);
    // North again by a link to its line, south again by a COM number mapped to it.
    const std::string northLink = cli.files.file("by-id-north");
    ASSERT_EQ(::symlink(north.c_str(), northLink.c_str()), 0);
    cli.writeSettings("[Kalmoria]\r\nSprache=\r\n\r\n[Schnittstellen]\r\nCOM5=" + south + "\r\n");
    cli.files.write("stations.txt", "\xEF\xBB\xBF# the stations of the north, as a Windows editor saves them\r\n"
                                    "\r\n"
                                    "   " + north + "   # Hochbeh\xE4lter\r\n"
                                    "#" + east + "\r\n"
                                    "\t" + south + "\n"
                                    + north + "\n" + northLink + "\nCOM5\n"
                                    "   # the end\n");
    const auto result = backup(QStringList{QStringLiteral("--stations"),
                                           QString::fromStdString(cli.files.file("stations.txt")),
                                           QStringLiteral("--jobs"), QStringLiteral("1")}
                               + ports({south}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(lineCount(result.out), 2u) << "each station once, by whatever name, the commented one left out: "
                                         << result.out;
    const auto lines = linesByPort(result.out);
    EXPECT_TRUE(lines.contains(north) && lines.contains(south)) << result.out;
    EXPECT_EQ(filesBelow(dir()).size(), 2u);
}

TEST_F(CliBackup, ASecondBackupNamesTheLinksChangedSinceTheFirstAndKeepsNoCopyOfTheUnchanged)
{
    const std::string north = startStation(kNorth);
    const std::string south = startStation(kSouth);
    const std::string east = startStation(kEast);
    const auto first = backup(ports({north, south, east}));
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const auto before = linesByPort(first.out);
    for (const auto& [port, line] : before)
        EXPECT_TRUE(line[QStringLiteral("changed")].isNull() && line[QStringLiteral("changed_links")].isNull())
            << "a first backup has nothing to compare with: " << port;

    // Someone gave east's link 2 another target bit and added a fourth link.
    BackupStation changed = kEast;
    changed.links[1][6] = 3;
    changed.links.push_back({12, 153, 0, 1, 7, 352, 0, 0});
    const std::string eastNow = replaceStation(2, changed);
    const auto second = backup(ports({north, south, eastNow}) + QStringList{QStringLiteral("--only-changed")});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    const auto after = linesByPort(second.out);
    EXPECT_TRUE(contains(second.err, ": 1 von 3 Stationen gespeichert, 2 seit ihrer vorigen Sicherung unver\xC3\xA4ndert."))
        << second.err;
    ASSERT_EQ(after.size(), 3u) << second.out;
    for (const std::string& unchanged : {north, south}) {
        const QJsonObject line = after.at(unchanged);
        EXPECT_TRUE(line[QStringLiteral("ok")].toBool()) << unchanged;
        EXPECT_EQ(line[QStringLiteral("changed")], QJsonValue(false)) << unchanged;
        EXPECT_EQ(line[QStringLiteral("changed_links")], QJsonValue(QJsonArray{})) << unchanged;
        EXPECT_EQ(line[QStringLiteral("file")], before.at(unchanged)[QStringLiteral("file")])
            << "the previous backup stays the proof";
    }
    EXPECT_EQ(filesBelow(dir() + "/4242").size(), 1u);
    EXPECT_EQ(filesBelow(dir() + "/815").size(), 1u);
    const QJsonObject line = after.at(eastNow);
    EXPECT_EQ(line[QStringLiteral("changed")], QJsonValue(true));
    EXPECT_EQ(line[QStringLiteral("changed_links")], QJsonValue(QJsonArray{2, 4}));
    EXPECT_EQ(fields(LoadLinkFile(line[QStringLiteral("file")].toString().toStdString()).links), changed.links);
    EXPECT_EQ(filesBelow(dir() + "/7001").size(), 2u);
}

TEST_F(CliBackup, TheMetricsReadByPrometheusKeepAFailedStationsLastSuccess)
{
    const std::string north = startStation(kNorth);
    // South is reached through a link, which the test then leads nowhere.
    const std::string south = cli.files.file("south-line");
    ASSERT_EQ(::symlink(startStation(kSouth).c_str(), south.c_str()), 0);
    const QStringList metrics{QStringLiteral("--metrics"), QString::fromStdString(cli.files.file("node/kalmoria.prom"))};
    const auto first = backup(ports({north, south}) + metrics);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const Metrics before = prometheusMetrics(cli.files.file("node/kalmoria.prom"));
    ASSERT_TRUE(before.contains({"kalmoria_backup_last_success_timestamp_seconds", south}));

    ASSERT_EQ(::unlink(south.c_str()), 0);
    const auto second = backup(ports({north, south}) + metrics);
    EXPECT_EQ(second.exitCode, 2) << second.err;
    const Metrics after = prometheusMetrics(cli.files.file("node/kalmoria.prom"));
    for (const char* family : {"kalmoria_backup_success", "kalmoria_backup_last_success_timestamp_seconds",
                               "kalmoria_backup_duration_seconds", "kalmoria_station_links",
                               "kalmoria_station_links_changed"})
        EXPECT_TRUE(after.contains({family, "# TYPE gauge"})) << family << " lacks its HELP or TYPE";
    const auto value = [&after](const char* family, const std::string& station) {
        const auto found = after.find({family, station});
        return found == after.end() ? std::pair<std::string, double>{"none", -1} : found->second;
    };
    EXPECT_EQ(value("kalmoria_backup_success", north), (std::pair<std::string, double>{"4242", 1}));
    EXPECT_EQ(value("kalmoria_station_links", north).second, 2);
    EXPECT_EQ(value("kalmoria_station_links_changed", north).second, 0);
    EXPECT_GE(value("kalmoria_backup_last_success_timestamp_seconds", north).second,
              before.at({"kalmoria_backup_last_success_timestamp_seconds", north}).second);
    EXPECT_EQ(value("kalmoria_backup_success", south), (std::pair<std::string, double>{"815", 0}));
    EXPECT_EQ(value("kalmoria_backup_last_success_timestamp_seconds", south),
              before.at({"kalmoria_backup_last_success_timestamp_seconds", south}))
        << "an alert on an old backup needs the last success";
    EXPECT_GE(value("kalmoria_backup_duration_seconds", south).second, 0);
    EXPECT_EQ(value("kalmoria_station_links", south).second, -1) << "not read: not known";
    EXPECT_EQ(filesBelow(cli.files.file("node")), std::vector<std::string>{"kalmoria.prom"})
        << "no temporary file is left for the collector to find";
}

TEST_F(CliBackup, PortsThatDifferOnlyInBytesThatAreNoUtf8KeepLinesAndSeriesOfTheirOwn)
{
    // Adapter links named by serial numbers that are no UTF-8: one leads to
    // a station, the other nowhere, and neither may pass for the other.
    const std::string stem = cli.files.file("adapter-");
    ASSERT_EQ(::symlink(startStation(kNorth).c_str(), (stem + "\xFF").c_str()), 0);
    cli.files.write("stations.txt", stem + "\xFF\n" + stem + "\xFE\n");
    const std::string prom = cli.files.file("node/kalmoria.prom");
    const auto result = backup({QStringLiteral("--stations"), QString::fromStdString(cli.files.file("stations.txt")),
                                QStringLiteral("--metrics"), QString::fromStdString(prom)});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    const auto lines = linesByPort(result.out);
    ASSERT_TRUE(lines.contains(stem + "\\xff") && lines.contains(stem + "\\xfe")) << result.out;
    EXPECT_EQ(lines.at(stem + "\\xff")[QStringLiteral("serial")].toInt(), 4242);
    EXPECT_TRUE(contains(result.err, stem + "\\xfe: ")) << result.err;
    const Metrics metrics = prometheusMetrics(prom);
    EXPECT_EQ(metrics.at({"kalmoria_backup_success", stem + "\\xff"}), (std::pair<std::string, double>{"4242", 1}));
    EXPECT_EQ(metrics.at({"kalmoria_backup_success", stem + "\\xfe"}), (std::pair<std::string, double>{"<none>", 0}))
        << "a station never read is named by its port alone";
}

TEST_F(CliBackup, OneStationAtATimeSavesTheSameFilesAsEightAtOnce)
{
    const std::vector<std::string> paths{startStation(kNorth), startStation(kSouth), startStation(kEast)};
    const auto one = backup(ports(paths) + QStringList{QStringLiteral("--jobs"), QStringLiteral("1")}, "one");
    const auto all = backup(ports(paths), "all");
    ASSERT_EQ(one.exitCode, 0) << one.err;
    ASSERT_EQ(all.exitCode, 0) << all.err;
    const std::vector<std::string> files = filesBelow(dir("one"));
    ASSERT_EQ(files.size(), 3u);
    for (const std::string serial : {"4242", "815", "7001"}) {
        const std::vector<std::string> oneFiles = filesBelow(dir("one") + "/" + serial);
        const std::vector<std::string> allFiles = filesBelow(dir("all") + "/" + serial);
        ASSERT_EQ(oneFiles.size(), 1u) << serial;
        ASSERT_EQ(allFiles.size(), 1u) << serial;
        EXPECT_EQ(withoutStamp(cli.files.read("one/" + serial + "/" + oneFiles[0])),
                  withoutStamp(cli.files.read("all/" + serial + "/" + allFiles[0])))
            << serial;
    }
}

TEST_F(CliBackup, AStationListOrFolderThatCannotBeUsedEndsWith3BeforeAnyStationIsRead)
{
    const std::string north = startStation(kNorth, {QStringLiteral("--verbose")});
    cli.files.write("wrong.txt", north + "\nCOM17\n");
    cli.files.write("empty.txt", "# nothing yet\n\n");
    cli.files.write("taken", "a file, not a folder");
    struct Case {
        const char* what;
        QStringList arguments;
        std::string into;
        std::string said;
    };
    const std::vector<Case> cases{
        {"no such list", {QStringLiteral("--stations"), QString::fromStdString(cli.files.file("missing.txt"))},
         "backup", "Die Stationsliste "},
        {"a list that is a folder", {QStringLiteral("--stations"), QString::fromStdString(cli.files.path())},
         "backup", "Die Stationsliste "},
        {"a line that is no port", {QStringLiteral("--stations"), QString::fromStdString(cli.files.file("wrong.txt"))},
         "backup", "Zeile 2 der Stationsliste "},
        {"a list without a port", {QStringLiteral("--stations"), QString::fromStdString(cli.files.file("empty.txt"))},
         "backup", "nennt keine Schnittstelle"},
        {"a folder below a file", ports({north}), "taken/backup", "In den Sicherungsordner "},
        {"metrics into a folder", ports({north}) + QStringList{QStringLiteral("--metrics"),
                                                               QString::fromStdString(cli.files.path())},
         "backup", "Die Metrikdatei "},
        {"captures below a file", ports({north}) + QStringList{QStringLiteral("--capture"),
                                                               QString::fromStdString(cli.files.file("taken/cap"))},
         "backup", "Der Mitschnitt "},
    };
    for (const Case& c : cases) {
        const auto result = backup(c.arguments, c.into);
        EXPECT_EQ(result.exitCode, 3) << c.what << ": " << result.err;
        EXPECT_EQ(result.out, "") << c.what;
        ASSERT_EQ(result.errorLines().size(), 1u) << c.what << ": " << result.err;
        EXPECT_TRUE(contains(result.err, c.said)) << c.what << ": " << result.err;
    }
    EXPECT_FALSE(contains(stations.front()->errorOutput(), "#1 ")) << "no station was asked anything: "
                                                                  << stations.front()->errorOutput();
}

TEST_F(CliBackup, AFileThatCannotBeSavedEndsWith3AndTheOthersAreSaved)
{
    const std::string north = startStation(kNorth);
    const std::string south = startStation(kSouth);
    // The folder of station 815 is taken by a file.
    ASSERT_TRUE(fs::create_directories(dir()));
    cli.files.write("backup/815", "in the way");
    const auto result = backup(ports({north, south}));
    EXPECT_EQ(result.exitCode, 3) << result.err;
    const auto lines = linesByPort(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    EXPECT_TRUE(lines.at(north)[QStringLiteral("ok")].toBool());
    const QJsonObject failed = lines.at(south);
    EXPECT_FALSE(failed[QStringLiteral("ok")].toBool());
    EXPECT_EQ(failed[QStringLiteral("serial")].toInt(), 815) << "read, only not saved";
    EXPECT_EQ(failed[QStringLiteral("links")].toInt(), 1);
    EXPECT_TRUE(failed[QStringLiteral("file")].isNull());
    EXPECT_TRUE(failed[QStringLiteral("error")].toString().startsWith(QStringLiteral("Die Verkn\u00FCpfungsdatei ")))
        << failed[QStringLiteral("error")].toString().toStdString();
    EXPECT_EQ(filesBelow(dir() + "/4242").size(), 1u);
}

TEST_F(CliBackup, MistakesOnTheCommandLineEndWith1)
{
    const std::vector<QStringList> mistakes{
        {QStringLiteral("backup"), QStringLiteral("--port"), QStringLiteral("3")},
        {QStringLiteral("backup"), QStringLiteral("--dir"), QStringLiteral("b")},
        {QStringLiteral("backup"), QStringLiteral("--dir"), QStringLiteral("b"), QStringLiteral("--port"),
         QStringLiteral("3"), QStringLiteral("--jobs"), QStringLiteral("0")},
        {QStringLiteral("backup"), QStringLiteral("--dir"), QStringLiteral("b"), QStringLiteral("--port"),
         QStringLiteral("3"), QStringLiteral("--jobs"), QStringLiteral("65")},
        {QStringLiteral("backup"), QStringLiteral("--dir"), QStringLiteral("b"), QStringLiteral("--port"),
         QStringLiteral("3"), QStringLiteral("--port"), QStringLiteral("COM17")},
        {QStringLiteral("backup"), QStringLiteral("--dir"), QStringLiteral("b"), QStringLiteral("--port"),
         QStringLiteral("3"), QStringLiteral("--json")},
        {QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("3"), QStringLiteral("--port"),
         QStringLiteral("4")},
        {QStringLiteral("read"), QStringLiteral("--dir"), QStringLiteral("b")},
        {QStringLiteral("backup-station")},
    };
    for (const QStringList& arguments : mistakes) {
        const auto result = cli.run(arguments);
        const std::string shown = arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.exitCode, 1) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_EQ(result.errorLines().size(), 1u) << shown << ": " << result.err;
    }
    EXPECT_FALSE(cli.files.exists("b")) << "nothing was made";
}

TEST_F(CliBackup, CtrlCEndsTheReadsAndLeavesOnlyWholeFiles)
{
    const std::string quick = startStation(kNorth);
    // 64 modules at 9600 bps: its read takes seconds.
    stations.push_back(std::make_unique<QmxSim>(QmxSim::binDir() + "/qmx-full64.ini",
                                                QStringList{QStringLiteral("--paced"), QStringLiteral("--verbose")}));
    const std::string slow = stations.back()->path();
    ASSERT_FALSE(slow.empty());
    cli.whileRunning = [this, &quick](qint64 pid) {
        // Once the slow station is being read and the quick one is saved.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while ((!contains(stations.back()->errorOutput(), "#1 ") || filesBelow(dir() + "/4242").empty())
               && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(static_cast<pid_t>(pid), SIGINT);
    };
    const auto started = std::chrono::steady_clock::now();
    const auto result = backup(ports({quick, slow}));
    cli.whileRunning = nullptr;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << "the reads were not waited for";
    EXPECT_EQ(result.exitCode, 130) << result.err;
    ASSERT_EQ(result.errorLines().size(), 1u) << result.err;
    EXPECT_TRUE(result.err.starts_with("kalmoria-cli: Fehler: Unterbrochen: 1 von 2 Stationen")) << result.err;

    const auto lines = linesByPort(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    EXPECT_TRUE(lines.at(quick)[QStringLiteral("ok")].toBool());
    EXPECT_FALSE(lines.at(slow)[QStringLiteral("ok")].toBool());
    EXPECT_TRUE(lines.at(slow)[QStringLiteral("error")].toString().startsWith(QStringLiteral("Unterbrochen")));
    // Only the quick station's file, whole; no temporary file is left.
    const std::vector<std::string> files = filesBelow(dir());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].starts_with("4242/") && files[0].ends_with(".ini")) << files[0];
    EXPECT_TRUE(LoadLinkFile(dir() + "/" + files[0]).ok());
    // The slow station's read has ended: its port is free at once.
    QSerialPort port(QString::fromStdString(slow));
    EXPECT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
}

// Whether process `pid` holds the file `path` open.
bool holdsOpen(qint64 pid, const std::string& path)
{
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        std::error_code gone;
        if (fs::read_symlink(fd.path(), gone) == path)
            return true;
    }
    return false;
}

TEST_F(CliBackup, ASignalEndsTheWaitForAStationListFromAPipe)
{
    // A named pipe nobody writes to yet, and one whose writer sent a line and
    // never closes it: SIGINT, SIGTERM and SIGHUP each end the wait as an interrupt.
    const std::string list = cli.files.file("stations");
    for (const bool written : {false, true}) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            const std::string shown = std::string(written ? "written, " : "no writer, ") + strsignal(signal);
            ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
            // Read and write: this end neither waits for a reader nor ever counts as closed.
            const int writer = written ? ::open(list.c_str(), O_RDWR | O_CLOEXEC) : -1;
            if (written) {
                ASSERT_EQ(::write(writer, "COM3\n", 5), 5);
            }
            cli.whileRunning = [&](qint64 pid) {
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                while (!holdsOpen(pid, list) && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                ::kill(static_cast<pid_t>(pid), signal);
            };
            const auto result = backup({QStringLiteral("--stations"), QString::fromStdString(list)});
            cli.whileRunning = nullptr;
            if (writer >= 0)
                ::close(writer);
            fs::remove(list);
            EXPECT_EQ(result.exitCode, 130) << shown << ": " << result.err;
            ASSERT_EQ(result.errorLines().size(), 1u) << shown << ": " << result.err;
            EXPECT_TRUE(result.err.starts_with("kalmoria-cli: Fehler: Unterbrochen")) << shown << ": " << result.err;
            EXPECT_FALSE(fs::exists(dir())) << shown << ": nothing was made";
        }
    }
    // A link file is never waited for: a pipe is no link file.
    ASSERT_EQ(::mkfifo(cli.files.file("anlage.ini").c_str(), 0600), 0);
    EXPECT_EQ(cli.run({QStringLiteral("report"), QStringLiteral("anlage.ini"), QStringLiteral("-o"),
                       QStringLiteral("a.pdf")})
                  .exitCode,
              3);
}

// The processes `pid` started that still run, and its threads.
std::pair<int, int> childrenAndThreads(qint64 pid)
{
    int children = 0;
    int threads = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        ++threads;
        std::ifstream list(task.path() / "children");
        for (long child = 0; list >> child;)
            ++children;
    }
    return {children, threads};
}

TEST_F(CliBackup, ReadsItsStationsSideBySideInOneProcess)
{
    // 64 modules at 9600 bps: each read takes seconds, long enough to look.
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        stations.push_back(std::make_unique<QmxSim>(QmxSim::binDir() + "/qmx-full64.ini",
                                                    QStringList{QStringLiteral("--paced"), QStringLiteral("--verbose")}));
        paths.push_back(stations.back()->path());
    }
    std::pair<int, int> seen{-1, 0};
    cli.whileRunning = [this, &seen](qint64 pid) {
        // Once every station is being read.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        const auto reading = [this] {
            return std::ranges::all_of(stations, [](const auto& s) { return s->errorOutput().find("#1 ") != std::string::npos; });
        };
        while (!reading() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        seen = childrenAndThreads(pid);
    };
    const auto result = backup(ports(paths));
    cli.whileRunning = nullptr;
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(seen.first, 0) << "no station was read by a child process";
    EXPECT_GT(seen.second, 3) << "a thread for each station beside the main one";
    EXPECT_EQ(filesBelow(dir()).size(), 3u);
}

TEST_F(CliBackup, TheHelpNamesTheCommand)
{
    cli.locale = {{QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8")}};
    const auto help = cli.run({QStringLiteral("--help")});
    EXPECT_TRUE(contains(help.out, "backup --dir DIR")) << help.out;
    EXPECT_TRUE(contains(help.out, "--jobs <N>")) << help.out;
    EXPECT_FALSE(contains(help.out, "backup-station")) << "the internal command is nobody's business";
}
