// A tiny program that starts the process log and then ends the way its first
// argument says, so tests can watch the end line of a real dying process.

#include "diag/ErrLog.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

int main(int argc, char** argv)
{
    ErrLogStartup();
    WriteErrLog("probe running");
    const char* how = argc > 1 ? argv[1] : "";
    if (std::strcmp(how, "segv") == 0) {
        // The address comes from outside so the compiler cannot see the fault.
        auto* target = reinterpret_cast<volatile int*>(std::strtoul(argv[2], nullptr, 0));
        *target = 1;
    }
    if (std::strcmp(how, "throw") == 0)
        throw std::runtime_error("nobody catches this");
    if (std::strcmp(how, "exit") == 0)
        ExitProgram(98);
    ErrLogShutdown(0);
    return 0;
}
