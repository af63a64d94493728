// How long the link editor takes to redraw both panes with a full link
// table: 299 links spread over 64 modules; the source pane shows the central
// device, the target pane module 1, which many links write to. Each round the
// user moves the target window by one register, so that every target cell
// really changes, and both panes are drawn again as after an undo. Timed three ways: the page's own work, that work with the
// paint of what changed (as the event loop does it), and that work with a
// paint of the whole page.
//
//   editor-redraw-bench [rounds]

#include "bench/SilentView.h"
#include "editor/pages/LinkEditorPage.h"
#include "model/Station.h"
#include "tests/common/StationBuilder.h"

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetMilliseconds = 5.0;

// 64 modules with a bit group of 320 bits and target registers; 299 links,
// a third of them from module 1 into module 2, the rest anywhere.
Station fullStation()
{
    StationBuilder station;
    for (int32_t address = 1; address <= kMaxModuleAddress; ++address)
        station.Module(address, 0, {.srcBits = 320, .srcRegs = 16, .dstBits = 320, .dstRegs = 16},
                       "Modul " + std::to_string(address));
    for (int32_t n = 0; n < kMaxLinks; ++n) {
        const bool shown = n % 3 == 0;
        const int32_t q = shown ? 1 : 1 + n % kMaxModuleAddress;
        const int32_t z = shown ? 2 : 1 + (n * 7) % kMaxModuleAddress;
        station.Link({q, 100 + n % 20, n % 16, 1 + n % 32, z, 300 + (n / 3) % 20, (n * 5) % 16, n % 2});
    }
    return station.Read().Build();
}

struct Figures {
    double mean = 0;
    double median = 0;
    double worst = 0;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    Figures f;
    for (const double m : ms)
        f.mean += m / static_cast<double>(ms.size());
    f.median = ms[ms.size() / 2];
    f.worst = ms.back();
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;

    Station station = fullStation();
    SilentView shell;
    LinkEditorPage page(shell, station, nullptr);
    page.resize(page.minimumSize());
    page.show();
    page.TabSheet2Show();
    auto* target = page.findChild<QScrollBar*>(QStringLiteral("ScrollBarZ"));
    QApplication::processEvents();

    enum class Paint { None, Changed, Everything };
    const auto round = [&](int i, Paint paint) {
        const Clock::time_point start = Clock::now();
        target->setValue(i % 2);
        page.ShowLinksAgain();
        if (paint == Paint::Changed)
            QApplication::processEvents();
        else if (paint == Paint::Everything)
            page.repaint();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };

    std::vector<double> work;
    std::vector<double> painted;
    std::vector<double> whole;
    for (int i = 0; i < rounds; ++i)
        work.push_back(round(i, Paint::None));
    for (int i = 0; i < rounds; ++i)
        painted.push_back(round(i, Paint::Changed));
    for (int i = 0; i < rounds; ++i)
        whole.push_back(round(i, Paint::Everything));

    std::printf("link editor redraw of both panes, %d links over %d modules, %d rounds\n", station.AnzBefehle,
                station.ModulAnzahl - 1, rounds);
    std::printf("%-28s %9s %9s %9s\n", "", "mean", "median", "worst");
    for (const auto& [what, ms] : {std::pair{"scroll, draw both panes", work},
                                   std::pair{"  and paint what changed", painted},
                                   std::pair{"  and paint the whole page", whole}}) {
        const Figures f = summarise(ms);
        std::printf("%-28s %6.3f ms %6.3f ms %6.3f ms\n", what, f.mean, f.median, f.worst);
    }
    const double median = summarise(painted).median;
    std::printf("target: at most %.1f ms per redraw: %s\n", kTargetMilliseconds,
                median <= kTargetMilliseconds ? "met" : "MISSED");
    return 0;
}
