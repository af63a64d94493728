// qmx-sim: a simulated QMX central device on a pseudo-terminal or a serial
// port, for tests, benchmarks and trying the program without hardware.

#include "sim/DeviceImage.h"
#include "sim/LineServer.h"
#include "sim/SimLine.h"
#include "sim/SimOptions.h"

#include "diag/ProgramFolder.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// SIGINT and SIGTERM end the simulator: the handler only writes a byte into
// a pipe that the serving loop watches next to the line.
int g_stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_stopPipe[1], &byte, 1);
}

bool installStopSignals()
{
    if (pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace qmxsim;

    SimOptions options;
    std::string error;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "qmx-sim: %s (see qmx-sim --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }

    const std::string image = options.image.empty() ? programFolder() + "qmx-demo.ini" : options.image;
    RegisterMap map;
    if (!LoadDeviceImageFile(image, map, error)) {
        std::fprintf(stderr, "qmx-sim: %s\n", error.c_str());
        return 1;
    }

    std::FILE* faultLog = stderr;
    if (!options.faultLog.empty() && (faultLog = std::fopen(options.faultLog.c_str(), "w")) == nullptr) {
        std::fprintf(stderr, "qmx-sim: %s: cannot be written\n", options.faultLog.c_str());
        return 1;
    }

    SimLine line;
    const bool opened = options.device.empty() ? line.openPseudoTerminal(error)
                                               : line.openSerialPort(options.device, error);
    if (!opened || !installStopSignals()) {
        std::fprintf(stderr, "qmx-sim: %s\n", opened ? "cannot catch SIGINT and SIGTERM" : error.c_str());
        return 1;
    }

    // Whoever started us waits for this line: it is the port to open.
    std::printf("%s\n", line.path().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "qmx-sim: serving %s on %s%s\n", image.c_str(), line.path().c_str(),
                 options.pacing ? " at 9600 bps" : " without pacing");

    Responder responder(map, options.faults);
    LineTiming timing;
    timing.pacing = options.pacing;
    timing.requestLineTime = line.isPseudoTerminal();
    LineServer server(line.fd(), g_stopPipe[0], responder, timing, options.verbose ? stderr : nullptr);
    if (options.faults.randomFaults)
        server.setFaultLog(faultLog);
    return server.run() ? 0 : 1;
}
