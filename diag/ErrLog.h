#pragma once

// The diagnostic log: off unless marker files lie beside the program. Every
// part of the program writes through WriteErrLog; the debug level read from the
// marker file "DEBUG" selects the optional trace groups (DebugBit).

#include <cstdint>
#include <string>

// Log one message. Never fails towards the caller.
void WriteErrLog(const std::string& msg);
// True when (mask AND debug level) > 0.
bool DebugBit(int32_t mask);
// The debug level is not 0.
bool DebugFlag();
int32_t DebugLevel();

// Start-up hook: reads the marker files of the program folder and writes the
// start line. Runs before any window exists.
void ErrLogStartup();
// Shutdown hook: writes the end line with the process exit code. Runs last.
void ErrLogShutdown(int exitCode);
// Ends the program at once with `exitCode`, writing the end line first.
[[noreturn]] void ExitProgram(int exitCode);
