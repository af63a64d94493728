// How long the service report of a link file takes, as `kalmoria-cli report
// FILE -o out.pdf` makes it, for files an engineer keeps and for the largest
// a hand (or a tool) can make of one: 299 links and a module overview whose
// every name runs to tens of thousands of characters, or of commas; and, as
// with --port, a file of 299 links all alike checked against its station,
// each link the same as every one before it. Target: every report within 5 s.
//
//   report-bench [rounds]

#include "core/LinkFileRead.h"
#include "core/ReportFacts.h"
#include "io/IniBytes.h"
#include "model/LinkFile.h"
#include "model/LinkModel.h"
#include "report/ServiceReport.h"
#include "tests/common/StationBuilder.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetMs = 5000.0;

// A link file of 299 links and an overview of `rows` modules, each name made
// of `name` repeated to `nameLength` characters, as near 4 MiB as asked.
std::string linkFile(int rows, const std::string& name, std::size_t nameLength)
{
    std::string out = "[Kopfdaten]\r\n01=|---\r\n\r\n[Info_Modulliste]\r\n"
                      "00=Adr., Typ, Modulname, Q-Bits, Q-Reg, Z-Bits, Z-Reg, Q2-Reg, \r\n";
    for (int r = 1; r <= rows; ++r) {
        std::string cell;
        while (cell.size() < nameLength)
            cell += name + " " + std::to_string(r) + " ";
        cell.resize(nameLength);
        out += (r < 10 ? "0" : "") + std::to_string(r) + "=" + std::to_string(10 + r) + ", KRA-520/DA1, " + cell
               + ", 32, 12, 24, 8, 16, \r\n";
    }
    out += "\r\n[QMX_Verknuepfungen]\r\n00=ModulQ-RegVon-BitVon-AnzBit-ModulZ-RegZ-BitZ-deaktiv\r\n";
    for (int n = 1; n <= kMaxLinks; ++n) {
        const int fields[8]{1 + n % 64, 100 + n, n % 16, 1 + n % 32, 1 + (n * 7) % 64, 300 + n, (n * 3) % 16, n % 2};
        out += std::to_string(n * 10) + "=0000,0000,0000,0000\r\n";
        for (int k = 0; k < 8; ++k)
            out += std::to_string(n * 10 + k + 1) + "=" + std::to_string(fields[k]) + "\r\n";
    }
    return out;
}

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Kind {
    const char* what;
    std::string bytes;
    bool checked = false; // against a station of 64 modules, as after a read
};

// A station of 64 modules at 1..64 the links' module numbers name.
Station station64()
{
    StationBuilder station;
    station.Type(0x0900).Serial(4242).Address(30);
    for (int address = 1; address <= 64; ++address)
        station.Module(address, 5, {.srcBits = 320, .srcRegs = 16, .dstBits = 320, .dstRegs = 16},
                       "Pumpwerk " + std::to_string(address), "PDX-44");
    return station.Read().Build();
}

// 299 copies of one link.
std::string alikeFile()
{
    std::string out = "[QMX_Verknuepfungen]\r\n";
    for (int n = 1; n <= kMaxLinks; ++n) {
        const int fields[8]{1, 100, 0, 16, 2, 300, 0, 0};
        for (int k = 0; k < 8; ++k)
            out += std::to_string(n * 10 + k + 1) + "=" + std::to_string(fields[k]) + "\r\n";
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QTemporaryDir folder;
    const std::string room(kMaxIniFileBytes - linkFile(65, "", 0).size(), 'x');
    const std::vector<Kind> kinds{
        {"ordinary names", linkFile(65, "Pumpwerk Nord", 16)},
        {"names of 2,000 characters", linkFile(65, "Pumpwerk Nord", 2000)},
        {"names filling 4 MiB", linkFile(65, "Pumpwerk Nord", room.size() / 65 - 64)},
        {"names of commas filling 4 MiB", linkFile(65, ",", room.size() / 65 - 64)},
        {"links all alike, checked", alikeFile(), true},
    };
    bool met = true;
    std::printf("report of a link file, %d links, %d rounds each\n", kMaxLinks, rounds);
    for (const Kind& kind : kinds) {
        const std::string file = folder.path().toStdString() + "/anlage.ini";
        std::ofstream(file, std::ios::binary) << kind.bytes;
        std::vector<double> times;
        int pages = 0;
        for (int i = 0; i < rounds; ++i) {
            const Clock::time_point start = Clock::now();
            const LinkFileLoad loaded = LoadLinkFile(file);
            ServiceReportFacts facts;
            if (kind.checked)
                facts.station = station64();
            TakeLinksOfFile(facts.station, loaded, file, {});
            facts.linkFile = file;
            facts.fileOverview = loaded.overview;
            pages = SaveServiceReport(facts, folder.path() + QStringLiteral("/bericht.pdf")).pages;
            times.push_back(milliseconds(Clock::now() - start));
            if (!loaded.ok() || pages == 0) {
                std::fprintf(stderr, "%s: failed (%s)\n", kind.what, loaded.reason.c_str());
                return 1;
            }
        }
        std::sort(times.begin(), times.end());
        met = met && times.back() <= kTargetMs;
        std::printf("  %-30s %7.2f MB: median %8.1f ms, slowest %8.1f ms, %d pages\n", kind.what,
                    static_cast<double>(kind.bytes.size()) / 1e6, times[times.size() / 2], times.back(), pages);
    }
    std::printf("every report within %.0f ms: %s\n", kTargetMs, met ? "met" : "MISSED");
    return 0;
}
