#pragma once

// The diagnostic log behind WriteErrLog: off unless marker files lie beside
// the program, one time-stamped line per message in "Problem2.TXT", rotated
// by size over Problem2 -> Problem1 -> Problem0, repeats within four minutes
// folded into one count line. The process has exactly one (see ErrLog.h);
// tests build their own with their own folders and clock.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

class DiagnosticLog {
public:
    // A moment as the log stamps it: the instant, and the local offset from
    // UTC that the stamp shows.
    struct LogTime {
        std::chrono::system_clock::time_point utc;
        int32_t utcOffsetSeconds = 0;
    };

    struct Setup {
        // Where the marker files DEBUG, DEBUG1, DEBUGSPS and the log files lie.
        std::string programFolder;
        // Where SAVE_ERR is looked for; empty: the process's working directory.
        std::string workingFolder;
        // Empty: the system clock in the local time zone.
        std::function<LogTime()> clock;
        // Receives each cleaned message when the level sends messages to the
        // debugger. Empty: one line on standard error.
        std::function<void(std::string_view)> debuggerOutput;
    };

    static constexpr int32_t kBaseSize = 500000;
    // A message repeated within this span of the last written line is counted.
    static constexpr std::chrono::seconds kRepeatWindow{240};
    static constexpr int32_t kDebuggerOutputLevel = 1024;
    static constexpr const char* kCurrentFile = "Problem2.TXT";
    static constexpr const char* kPreviousFile = "Problem1.TXT";
    static constexpr const char* kOldestFile = "Problem0.TXT";

    explicit DiagnosticLog(Setup setup);
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Reads the marker files and, when the log is on, writes the start line.
    void startup();
    // Writes the end line of a normal end with `exitCode`.
    void shutdown(int exitCode);
    // Writes the end line of a process dying of a fatal error to the file,
    // with the log on or off, and to the debugger output at its level.
    // Allocates nothing and never waits long for the lock, so it may run in
    // a signal handler. Only the first call writes.
    void fatalShutdown(int exitCode, uint32_t faultAddress) noexcept;

    void write(std::string_view msg) noexcept;

    bool debugBit(int32_t mask) const { return (mask & m_debugLevel) > 0; }
    bool debugFlag() const { return m_debugFlag; }
    int32_t debugLevel() const { return m_debugLevel; }
    bool logEnabled() const { return m_logEnabled; }
    bool toDebugger() const { return m_debuggerOutput; }
    int32_t maximumSize() const { return m_maximumSize; }

    // "DD.MM.YYYY HH:MM:SS-hh" into `out` (at least kTimeStampCapacity bytes);
    // returns the length. The hundredths are rounded, so they may read 100.
    static constexpr std::size_t kTimeStampCapacity = 32;
    static std::size_t formatTimeStamp(const LogTime& time, char* out) noexcept;
    // Carriage returns become "|", other control characters "{code}", so a
    // message always stays on one line.
    static std::string cleanMessage(std::string_view msg);
    // The first word of the DEBUG marker file as a decimal level. 1 when it
    // is no number or does not fit a level, and also for an empty file: an
    // engineer who creates an empty marker wants the log on.
    static int32_t parseDebugLevel(std::string_view content);

private:
    LogTime now() noexcept;
    std::string inProgramFolder(const char* name) const;
    void writeLocked(std::string_view msg);
    void writeLine(std::string_view msg, const LogTime& time);
    void appendToCurrentFile(const char* line, std::size_t length) noexcept;
    void rotate() noexcept;

    Setup m_setup;
    std::mutex m_lock;

    int32_t m_debugLevel = 0;
    bool m_debugFlag = false;
    bool m_debuggerOutput = false;
    bool m_debug1 = false;
    bool m_debugSps = false;
    std::atomic<bool> m_logEnabled = false;
    int32_t m_maximumSize = kBaseSize;
    // Set while the start and end lines are written: they never trigger a
    // rotation, so the end line lands in the file the session wrote to.
    std::atomic<bool> m_startStop = false;
    std::atomic<bool> m_stopped = false;
    std::atomic<bool> m_fatalWritten = false;

    std::string m_currentPath;
    std::string m_previousPath;
    std::string m_oldestPath;

    std::string m_lastMessage;
    // 32 bits: a 16-bit count would wrap after 65536 repeats within the
    // window and restart folding with a wrong count.
    uint32_t m_repeatCount = 0;
    std::chrono::system_clock::time_point m_lastWritten{};
    // The local offset last seen, for stamps written where the time zone
    // cannot be looked up (in a signal handler).
    std::atomic<int32_t> m_lastUtcOffset = 0;
};
