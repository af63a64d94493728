#include "diag/ErrLog.h"

#include <cstdlib>

// Placeholder until the log lands: everything off.
void WriteErrLog(const std::string&) {}
bool DebugBit(int32_t) { return false; }
bool DebugFlag() { return false; }
int32_t DebugLevel() { return 0; }
void ErrLogStartup() {}
void ErrLogShutdown(int) {}
void ExitProgram(int exitCode)
{
    ErrLogShutdown(exitCode);
    std::exit(exitCode);
}
