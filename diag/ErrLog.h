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
//
// It also hooks fatal errors, so the log's end line is written even when the
// process dies, with the log off too (then it is the file's only line). The end line
// shows as RT the status a shell reports for the death, 128 + signal number:
// 139 for SIGSEGV, 135 SIGBUS, 136 SIGFPE, 132 SIGILL, 134 SIGABRT and an
// uncaught C++ exception. The address is the one the kernel reports with the
// signal (for SIGSEGV and SIGBUS the memory address touched, for SIGILL and
// SIGFPE the instruction), lowest 24 bits; 0 for an abort or an uncaught
// exception. Afterwards the signal takes its earlier course (core dump,
// sanitizer report).
void ErrLogStartup();
// Shutdown hook: writes the end line with the process exit code. Runs last;
// later messages are not written.
void ErrLogShutdown(int exitCode);
// Ends the program at once with `exitCode`, writing the end line first.
[[noreturn]] void ExitProgram(int exitCode);

class DiagnosticLog;
// Sends WriteErrLog and the debug switches to `log` (nullptr: back to the
// program's own log) and returns the previous route. For tests that check
// the trace lines of other parts.
DiagnosticLog* RouteErrLogForTesting(DiagnosticLog* log);
