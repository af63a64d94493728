// How soon the window is there, and how long the automatic port search
// takes, with sixteen COM numbers mapped to serial lines that open but stay
// silent (the worst case for a search: every probe waits its full time-out).
//
//   port-search-bench        (without a desktop: QT_QPA_PLATFORM=offscreen)

#include "app/MainWindow.h"
#include "bench/BenchSim.h"
#include "transports/ComPortMap.h"
#include "protocol/Tvep.h"
#include "i18n/LanguageTexts.h"

#include <QApplication>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A pseudo-terminal nobody answers on; its far end stays open while it lives.
struct SilentLine {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string path = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : "";
    ~SilentLine() { ::close(master); }
};

} // namespace

int main(int argc, char** argv)
{
    const Clock::time_point start = Clock::now();
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::vector<SilentLine> lines(MaxComPort);
    std::vector<std::string> paths;
    for (const SilentLine& line : lines)
        paths.push_back(line.path);
    QTemporaryDir config;
    MapBenchPorts(config, paths);

    QApplication app(argc, argv);
    // The window speaks with Kalmoria's language files, not this program's.
    ResetLanguageTexts(programFolder(), "Kalmoria");
    TF_Kalmoria_main window;
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
        QApplication::processEvents();
    const double windowMs = msSince(start);

    const Clock::time_point searchStart = Clock::now();
    window.StartUpSearch();
    const double searchMs = msSince(searchStart);

    std::printf("16 silent ports mapped\n");
    std::printf("start to window shown:    %7.0f ms (target: at most 300 ms)\n", windowMs);
    std::printf("start-up port search:     %7.0f ms (one probe's time-out: %d ms; one port after the\n"
                "                                     other would take about %d ms)\n",
                searchMs, 3 * Tvep::DefaultReplyTimeout, MaxComPort * 3 * Tvep::DefaultReplyTimeout);
    return 0;
}
