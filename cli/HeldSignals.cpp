#include "cli/HeldSignals.h"

#include <array>
#include <csignal>

namespace {

constexpr std::array<int, 3> kHeld{SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t g_arrived = 0;
std::array<struct sigaction, kHeld.size()> g_previous{};

void remember(int)
{
    g_arrived = 1;
}

} // namespace

HeldSignals::HeldSignals()
{
    g_arrived = 0;
    struct sigaction action {};
    action.sa_handler = remember;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kHeld.size(); ++i)
        sigaction(kHeld[i], &action, &g_previous[i]);
}

HeldSignals::~HeldSignals()
{
    for (std::size_t i = 0; i < kHeld.size(); ++i)
        sigaction(kHeld[i], &g_previous[i], nullptr);
}

bool HeldSignals::arrived() const
{
    return g_arrived != 0;
}
