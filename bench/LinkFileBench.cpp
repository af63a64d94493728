// How long saving and loading a full link file takes: 299 links and the
// overview of a device with all 64 modules, saved into the file of the
// previous round (so the old file is read and kept, as for a user who saves
// again) and loaded back. Target: at most 20 ms for the pair.
//
//   link-file-bench [rounds]

#include "model/LinkFile.h"
#include "model/Station.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetMs = 20.0;

OverviewRows fullOverview()
{
    OverviewRows rows{{"Adr.", "Typ", "Modulname", "Q-Bits", "Q-Reg.", "Z-Bits", "Z-Reg.", "Q2-Reg."},
                      {"10", "QMX-240.100", "Zentrale", "0", "0", "0", "0", "0"}};
    for (int a = 1; a <= 64; ++a)
        rows.push_back({std::to_string(10 + a), "KRA-520/DA1", "Pumpwerk Nord " + std::to_string(a), "32", "12",
                        "24", "8", "16"});
    return rows;
}

void fillTable(Station& station)
{
    station.AnzBefehle = 0;
    for (int n = 1; n <= kMaxLinks; ++n) {
        station.AppendLink(1 + n % 64, 100 + n, n % 16, 1 + n % 32, 1 + (n * 7) % 64, 300 + n, (n * 3) % 16);
        station.LinkTable[static_cast<std::size_t>(n)].deaktiv = n % 2;
    }
}

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const QTemporaryDir folder;
    const std::string name = folder.path().toStdString() + "/anlage.ini";
    const OverviewRows overview = fullOverview();

    Station station;
    std::vector<double> saves;
    std::vector<double> pairs;
    for (int i = 0; i < rounds; ++i) {
        fillTable(station);
        const Clock::time_point start = Clock::now();
        const LinkFileSave saved = SaveLinkFile(name, station.CurrentLinks(), std::nullopt, overview);
        const Clock::time_point between = Clock::now();
        const LinkFileLoad loaded = LoadLinkFile(name);
        const Clock::time_point end = Clock::now();
        if (!saved.ok() || !loaded.ok() || loaded.links.size() != static_cast<std::size_t>(kMaxLinks)) {
            std::fprintf(stderr, "round %d failed: %s%s, %zu links\n", i, saved.reason.c_str(), loaded.reason.c_str(),
                         loaded.links.size());
            return 1;
        }
        saves.push_back(milliseconds(between - start));
        pairs.push_back(milliseconds(end - start));
    }
    std::sort(saves.begin(), saves.end());
    std::sort(pairs.begin(), pairs.end());
    const auto median = [](const std::vector<double>& v) { return v[v.size() / 2]; };
    std::printf("link file, %d links, 64-module overview, %d rounds\n", kMaxLinks, rounds);
    std::printf("  save:        median %.2f ms\n", median(saves));
    std::printf("  save + load: median %.2f ms, slowest %.2f ms (target <= %.0f ms): %s\n", median(pairs),
                pairs.back(), kTargetMs, median(pairs) <= kTargetMs ? "met" : "MISSED");
    return 0;
}
