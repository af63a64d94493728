#include "diag/DiagnosticLog.h"

#include "diag/TextHelpers.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

constexpr const char* kStartLineBegin = " [Neustart Korvex-32 PC-Programm , DbgFlag=$";
constexpr const char* kEndLineBegin = "[Ende PC-Programm , (Dbg=";
// Nobody writes a debug level with more blanks in front than this.
constexpr std::size_t kMarkerReadLimit = 64 * 1024;

// Appends into a fixed buffer; used where nothing may be allocated.
class FixedText {
public:
    FixedText(char* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    void add(std::string_view text) noexcept
    {
        for (const char c : text) {
            if (m_length < m_capacity)
                m_buffer[m_length++] = c;
        }
    }
    void addDecimal(int64_t value, int minDigits = 1) noexcept
    {
        char digits[24];
        int count = 0;
        const bool negative = value < 0;
        uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        while (count < minDigits && count < static_cast<int>(sizeof digits))
            digits[count++] = '0';
        if (negative)
            add("-");
        while (count > 0)
            add(std::string_view(&digits[--count], 1));
    }
    void addHex6(uint32_t value) noexcept
    {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (int shift = 20; shift >= 0; shift -= 4)
            add(std::string_view(&kDigits[(value >> shift) & 0xF], 1));
    }
    std::string_view text() const noexcept { return {m_buffer, m_length}; }

private:
    char* m_buffer;
    std::size_t m_capacity;
    std::size_t m_length = 0;
};

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Proleptic Gregorian date of a day count since 1970-01-01.
void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const int64_t era = floorDiv(days, 146097);
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

DiagnosticLog::LogTime systemTimeWithOffset(int32_t utcOffsetSeconds) noexcept
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto sinceEpoch = std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    return {std::chrono::system_clock::time_point(
                std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch)),
            utcOffsetSeconds};
}

DiagnosticLog::LogTime systemLocalTime() noexcept
{
    DiagnosticLog::LogTime time = systemTimeWithOffset(0);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time.utc);
    std::tm local{};
    if (::localtime_r(&seconds, &local) != nullptr)
        time.utcOffsetSeconds = static_cast<int32_t>(local.tm_gmtoff);
    return time;
}

void writeToStandardError(std::string_view text) noexcept
{
    char newline = '\n';
    iovec parts[2] = {{const_cast<char*>(text.data()), text.size()}, {&newline, 1}};
    [[maybe_unused]] const ssize_t written = ::writev(STDERR_FILENO, parts, 2);
}

bool fileExists(const std::string& path) noexcept
{
    return ::access(path.c_str(), F_OK) == 0;
}

// A rename that never replaces its target: a rotation step whose target is
// still there must leave both files alone and try again next time.
bool renameWithoutReplacing(const std::string& from, const std::string& to) noexcept
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot rename exclusively; the lock keeps this process
    // from racing itself.
    return !fileExists(to) && ::rename(from.c_str(), to.c_str()) == 0;
}

// Like the probe, the read must not hang on a named pipe without a writer.
std::string readMarker(const std::string& path)
{
    std::string content;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return content;
    char chunk[4096];
    while (content.size() < kMarkerReadLimit) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        content.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return content;
}

class ErrnoKeeper {
public:
    ErrnoKeeper() noexcept : m_saved(errno) {}
    ~ErrnoKeeper() { errno = m_saved; }
    ErrnoKeeper(const ErrnoKeeper&) = delete;
    ErrnoKeeper& operator=(const ErrnoKeeper&) = delete;

private:
    int m_saved;
};

} // namespace

DiagnosticLog::DiagnosticLog(Setup setup) : m_setup(std::move(setup))
{
    if (m_setup.programFolder.empty() || m_setup.programFolder.back() != '/')
        m_setup.programFolder += '/';
    if (!m_setup.debuggerOutput)
        m_setup.debuggerOutput = writeToStandardError;
}

std::string DiagnosticLog::inProgramFolder(const char* name) const
{
    return m_setup.programFolder + name;
}

void DiagnosticLog::startup()
{
    const ErrnoKeeper keepErrno;
    m_startStop = true;
    m_stopped = false;

    const bool debug = FileExistsIO(inProgramFolder("DEBUG"));
    m_debug1 = FileExistsIO(inProgramFolder("DEBUG1"));
    m_debugSps = FileExistsIO(inProgramFolder("DEBUGSPS"));

    const int32_t value = debug ? parseDebugLevel(readMarker(inProgramFolder("DEBUG"))) : 0;
    // The level is compared before its sign is dropped: a negative level
    // gives the high trace bits while keeping the file log.
    m_debuggerOutput = value >= kDebuggerOutputLevel;
    m_debugLevel = value < 0 ? -value : value;
    m_debugFlag = m_debugLevel != 0;

    const std::string saveErr =
        m_setup.workingFolder.empty() ? std::string("SAVE_ERR") : m_setup.workingFolder + "/SAVE_ERR";
    bool enabled = FileExistsIO(saveErr) || m_debugFlag || m_debug1 || m_debugSps;
    if (m_debuggerOutput)
        enabled = false;
    m_logEnabled = enabled;

    if ((m_debugFlag || m_debug1 || m_debugSps) && 2 * kBaseSize > m_maximumSize)
        m_maximumSize = 2 * kBaseSize;

    m_currentPath = inProgramFolder(kCurrentFile);
    m_previousPath = inProgramFolder(kPreviousFile);
    m_oldestPath = inProgramFolder(kOldestFile);
    {
        const std::lock_guard guard(m_lock);
        m_lastMessage.clear();
        m_repeatCount = 0;
        m_lastWritten = {};
    }
    // Seeds the offset a stamp written from a signal handler uses.
    now();

    if (m_logEnabled)
        write(kStartLineBegin + ByteToHex2(static_cast<uint32_t>(m_debugLevel)) + "]");
    m_startStop = false;
}

void DiagnosticLog::shutdown(int exitCode)
{
    m_startStop = true;
    write(kEndLineBegin + IntToText(m_debugLevel) + "), RT " + IntToText(exitCode) + " at " + IntToHex6(0) + "]");
    m_startStop = false;
    // Lines after the end line have no session to belong to.
    m_stopped = true;
    const std::lock_guard guard(m_lock);
    m_lastMessage.clear();
    m_repeatCount = 0;
}

void DiagnosticLog::fatalShutdown(int exitCode, uint32_t faultAddress) noexcept
{
    if (m_fatalWritten.exchange(true))
        return;
    const ErrnoKeeper keepErrno;

    char endBuffer[128];
    FixedText endLine(endBuffer, sizeof endBuffer);
    endLine.add(kEndLineBegin);
    endLine.addDecimal(m_debugLevel);
    endLine.add("), RT ");
    endLine.addDecimal(exitCode);
    endLine.add(" at ");
    endLine.addHex6(faultAddress);
    endLine.add("]");

    if (m_debuggerOutput)
        m_setup.debuggerOutput(endLine.text());
    // A program that dies leaves its end line in the file whether or not the
    // log was on: the one trace a technician finds of a crash.
    m_logEnabled = true;
    m_startStop = true;

    // The dying thread may hold the lock itself; after a short wait the end
    // line is written without it rather than not at all.
    bool locked = false;
    for (int attempt = 0; attempt < 50 && !locked; ++attempt) {
        locked = m_lock.try_lock();
        if (!locked) {
            const timespec pause{0, 2'000'000};
            ::nanosleep(&pause, nullptr);
        }
    }

    const LogTime time = m_setup.clock ? m_setup.clock() : systemTimeWithOffset(m_lastUtcOffset);
    char stamp[kTimeStampCapacity];
    const std::string_view stampText(stamp, formatTimeStamp(time, stamp));
    char lineBuffer[kTimeStampCapacity + 160];

    if (locked && m_repeatCount > 0) {
        FixedText line(lineBuffer, sizeof lineBuffer);
        line.add(stampText);
        line.add("  >[");
        line.addDecimal(m_repeatCount);
        line.add("* Wiederholung]<\r\n");
        appendToCurrentFile(line.text().data(), line.text().size());
        m_repeatCount = 0;
    }
    FixedText line(lineBuffer, sizeof lineBuffer);
    line.add(stampText);
    line.add("  >");
    line.add(endLine.text());
    line.add("<\r\n");
    appendToCurrentFile(line.text().data(), line.text().size());

    if (locked)
        m_lock.unlock();
    m_startStop = false;
}

void DiagnosticLog::write(std::string_view msg) noexcept
{
    const ErrnoKeeper keepErrno;
    try {
        if (m_debuggerOutput)
            m_setup.debuggerOutput(cleanMessage(msg));
        if (!m_logEnabled || m_stopped)
            return;
        const std::lock_guard guard(m_lock);
        writeLocked(msg);
    } catch (...) {
        // Out of memory or a failing clock: the line is lost, the caller goes on.
    }
}

void DiagnosticLog::writeLocked(std::string_view msg)
{
    const LogTime time = now();
    if (msg == m_lastMessage) {
        if (time.utc - m_lastWritten <= kRepeatWindow)
            ++m_repeatCount;
        else
            m_lastMessage.clear(); // written again, so the file shows it is still happening
    }
    if (msg != m_lastMessage) {
        if (m_repeatCount > 0) {
            const auto count = static_cast<int32_t>(std::min<uint32_t>(m_repeatCount, INT32_MAX));
            writeLine("[" + IntToText(count) + "* Wiederholung]", time);
        }
        m_repeatCount = 0;
        m_lastWritten = time.utc;
    }
    m_lastMessage = msg;
    if (m_repeatCount == 0)
        writeLine(msg, time);
}

void DiagnosticLog::writeLine(std::string_view msg, const LogTime& time)
{
    char stamp[kTimeStampCapacity];
    std::string line(stamp, formatTimeStamp(time, stamp));
    line += "  >";
    line += cleanMessage(msg);
    line += "<\r\n";
    appendToCurrentFile(line.data(), line.size());
}

void DiagnosticLog::appendToCurrentFile(const char* line, std::size_t length) noexcept
{
    if (m_currentPath.empty())
        return;
    // Opened and closed per line, so the file on disk is complete whenever
    // the program dies.
    const int fd = ::open(m_currentPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    while (length > 0) {
        const ssize_t written = ::write(fd, line, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        line += written;
        length -= static_cast<std::size_t>(written);
    }
    ::close(fd);

    if (m_startStop)
        return;
    struct stat info {};
    if (::stat(m_currentPath.c_str(), &info) == 0 && info.st_size > m_maximumSize)
        rotate();
}

void DiagnosticLog::rotate() noexcept
{
    // Problem0 keeps the oldest history for good; later rotations drop the
    // previous Problem1 instead.
    if (fileExists(m_previousPath)) {
        if (fileExists(m_oldestPath))
            ::unlink(m_previousPath.c_str());
        else
            renameWithoutReplacing(m_previousPath, m_oldestPath);
    }
    renameWithoutReplacing(m_currentPath, m_previousPath);
}

DiagnosticLog::LogTime DiagnosticLog::now() noexcept
{
    const LogTime time = m_setup.clock ? m_setup.clock() : systemLocalTime();
    m_lastUtcOffset = time.utcOffsetSeconds;
    return time;
}

std::size_t DiagnosticLog::formatTimeStamp(const LogTime& time, char* out) noexcept
{
    using namespace std::chrono;
    const int64_t localNanos =
        duration_cast<nanoseconds>(time.utc.time_since_epoch()).count() + int64_t{time.utcOffsetSeconds} * 1'000'000'000;
    const int64_t seconds = floorDiv(localNanos, 1'000'000'000);
    const int64_t fraction = localNanos - seconds * 1'000'000'000;
    // Rounded to the nearest hundredth: the last 5 ms of a second read 100.
    const int64_t hundredths = (fraction + 5'000'000) / 10'000'000;
    const int64_t days = floorDiv(seconds, 86400);
    const int64_t secondOfDay = seconds - days * 86400;
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);

    FixedText text(out, kTimeStampCapacity);
    text.addDecimal(day, 2);
    text.add(".");
    text.addDecimal(month, 2);
    text.add(".");
    text.addDecimal(year, 4);
    text.add(" ");
    text.addDecimal(secondOfDay / 3600, 2);
    text.add(":");
    text.addDecimal(secondOfDay / 60 % 60, 2);
    text.add(":");
    text.addDecimal(secondOfDay % 60, 2);
    text.add("-");
    text.addDecimal(hundredths, 2);
    return text.text().size();
}

std::string DiagnosticLog::cleanMessage(std::string_view msg)
{
    std::string clean;
    clean.reserve(msg.size());
    for (const char c : msg) {
        const auto code = static_cast<unsigned char>(c);
        if (code == '\r') {
            clean += '|';
        } else if (code < 32) {
            clean += '{';
            clean += std::to_string(code);
            clean += '}';
        } else {
            clean += c;
        }
    }
    return clean;
}

int32_t DiagnosticLog::parseDebugLevel(std::string_view content)
{
    constexpr int32_t kUnreadable = 1;
    std::size_t begin = 0;
    while (begin < content.size() && static_cast<unsigned char>(content[begin]) <= ' ')
        ++begin;
    std::size_t end = begin;
    while (end < content.size() && static_cast<unsigned char>(content[end]) > ' ')
        ++end;
    std::string_view token = content.substr(begin, end - begin);

    bool negative = false;
    if (!token.empty() && (token.front() == '-' || token.front() == '+')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    if (token.empty())
        return kUnreadable;
    int64_t magnitude = 0;
    for (const char c : token) {
        if (c < '0' || c > '9')
            return kUnreadable;
        magnitude = magnitude * 10 + (c - '0');
        // The level is used by its absolute value, so -2147483648 does not fit either.
        if (magnitude > INT32_MAX)
            return kUnreadable;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}
