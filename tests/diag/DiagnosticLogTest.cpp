#include "diag/DiagnosticLog.h"

#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <cctype>
#include <thread>
#include <vector>

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

const system_clock::time_point kMorning = sys_days{2026y / 12 / 6} + 22h + 3min + 19s + 70ms;

// Messages of a log file in order; fails the test on a line of the wrong
// shape. (No std::regex: it recurses per character and the lines here are long.)
std::vector<std::string> messagesOf(const std::string& file)
{
    constexpr std::string_view kShape = "00.00.0000 00:00:00-00";
    std::vector<std::string> messages;
    std::size_t begin = 0;
    for (std::size_t end; (end = file.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        const std::string_view line = std::string_view(file).substr(begin, end - begin);
        const std::size_t open = line.find("  >");
        bool wellFormed = (open == kShape.size() || open == kShape.size() + 1) && line.back() == '<';
        for (std::size_t i = 0; wellFormed && i < open; ++i)
            wellFormed = i < kShape.size() && kShape[i] != '0' ? line[i] == kShape[i] : std::isdigit(static_cast<unsigned char>(line[i])) != 0;
        EXPECT_TRUE(wellFormed) << line.substr(0, 80);
        if (wellFormed)
            messages.emplace_back(line.substr(open + 3, line.size() - open - 4));
    }
    EXPECT_EQ(begin, file.size()) << "unterminated last line";
    return messages;
}

} // namespace

class DiagnosticLogTest : public ::testing::Test {
protected:
    void start()
    {
        m_log = std::make_unique<DiagnosticLog>(DiagnosticLog::Setup{
            m_program.path(), m_work.path(), [this] { return DiagnosticLog::LogTime{m_now, 0}; },
            [this](std::string_view text) { m_debugger.emplace_back(text); }});
        m_log->startup();
    }
    std::vector<std::string> messages(const char* file = "Problem2.TXT") { return messagesOf(m_program.read(file)); }

    TempDir m_program;
    TempDir m_work;
    system_clock::time_point m_now = kMorning;
    std::vector<std::string> m_debugger;
    std::unique_ptr<DiagnosticLog> m_log;
};

TEST_F(DiagnosticLogTest, WithoutMarkerFilesNothingIsWritten)
{
    start();
    m_log->write("L06 - lese QMX_config ab 1500");
    m_log->shutdown(0);
    EXPECT_TRUE(std::filesystem::is_empty(m_program.path()));
    EXPECT_FALSE(m_log->debugFlag());
    for (int bit = 0; bit < 32; ++bit)
        EXPECT_FALSE(m_log->debugBit(int32_t(1u << bit)));
    EXPECT_TRUE(m_debugger.empty());
}

TEST_F(DiagnosticLogTest, DebugLevelFortyWritesStartAndEndLinesByteForByte)
{
    m_program.write("DEBUG", "40\r\n");
    start();
    m_log->write("L06 - lese QMX_config ab 1500");
    m_log->shutdown(0);
    EXPECT_EQ(m_program.read("Problem2.TXT"),
              "06.12.2026 22:03:19-07  > [Neustart Korvex-32 PC-Programm , DbgFlag=$28]<\r\n"
              "06.12.2026 22:03:19-07  >L06 - lese QMX_config ab 1500<\r\n"
              "06.12.2026 22:03:19-07  >[Ende PC-Programm , (Dbg=40), RT 0 at 000000]<\r\n");
    EXPECT_TRUE(m_log->debugBit(8) && m_log->debugBit(32) && m_log->debugBit(-1));
    EXPECT_FALSE(m_log->debugBit(1) || m_log->debugBit(2) || m_log->debugBit(16) || m_log->debugBit(128));
    EXPECT_EQ(m_log->maximumSize(), 1000000);
    EXPECT_TRUE(m_debugger.empty());
}

TEST_F(DiagnosticLogTest, NegativeLevelKeepsTheFileLog)
{
    m_program.write("DEBUG", "-2000");
    start();
    EXPECT_EQ(m_log->debugLevel(), 2000);
    EXPECT_FALSE(m_log->toDebugger());
    EXPECT_EQ(messages(), std::vector<std::string>{" [Neustart Korvex-32 PC-Programm , DbgFlag=$D0]"});
}

TEST_F(DiagnosticLogTest, LevelFrom1024SendsEverythingToTheDebuggerOnly)
{
    m_program.write("DEBUG", "1024");
    m_program.write("DEBUG1", "");
    start();
    m_log->write("a\r\nb");
    m_log->shutdown(0);
    EXPECT_FALSE(m_program.exists("Problem2.TXT"));
    EXPECT_EQ(m_debugger, (std::vector<std::string>{"a|{10}b", "[Ende PC-Programm , (Dbg=1024), RT 0 at 000000]"}));
}

TEST_F(DiagnosticLogTest, MarkerCombinationsSwitchLogAndSize)
{
    m_program.write("DEBUG", "0");
    start();
    EXPECT_FALSE(m_log->logEnabled());

    m_program.write("SAVE_ERR", ""); // belongs in the working folder, not here
    std::filesystem::create_directory(m_program.file("DEBUG1")); // a folder is no marker
    start();
    EXPECT_FALSE(m_log->logEnabled());

    m_work.write("SAVE_ERR", "");
    start();
    EXPECT_TRUE(m_log->logEnabled());
    EXPECT_FALSE(m_log->debugFlag());
    EXPECT_EQ(m_log->maximumSize(), 500000);

    m_program.write("DEBUGSPS", "");
    start();
    EXPECT_EQ(m_log->maximumSize(), 1000000);
}

TEST_F(DiagnosticLogTest, DebugLevelIsTheFirstWordOrOne)
{
    EXPECT_EQ(DiagnosticLog::parseDebugLevel(" \t\r\n 40 7"), 40);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("+5"), 5);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("-40"), -40);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel(""), 1);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("abc"), 1);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("40abc"), 1);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("-"), 1);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("2147483647"), 2147483647);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("-2147483648"), 1);
    EXPECT_EQ(DiagnosticLog::parseDebugLevel("99999999999999999999"), 1);

    m_program.write("DEBUG", "");
    start();
    EXPECT_EQ(m_log->debugLevel(), 1);
    EXPECT_TRUE(m_log->logEnabled());
}

TEST_F(DiagnosticLogTest, RepeatsWithinFourMinutesAreFoldedIntoACount)
{
    m_work.write("SAVE_ERR", "");
    start();
    for (int i = 0; i < 5; ++i, m_now += 10s)
        m_log->write("A");
    m_log->write("B");
    m_now += 240s; // exactly 240 s after B was written: still a repeat
    m_log->write("B");
    m_now += 1ms;
    m_log->write("B"); // more than 240 s: written again, after its count
    m_now += 200s;
    m_log->write("B"); // the window runs from the last written line
    m_log->shutdown(0);
    EXPECT_EQ(messages(), (std::vector<std::string>{" [Neustart Korvex-32 PC-Programm , DbgFlag=$00]", "A",
                                                    "[4* Wiederholung]", "B", "[1* Wiederholung]", "B",
                                                    "[1* Wiederholung]",
                                                    "[Ende PC-Programm , (Dbg=0), RT 0 at 000000]"}));
}

TEST_F(DiagnosticLogTest, ControlCharactersNeverBreakTheLine)
{
    m_work.write("SAVE_ERR", "");
    start();
    m_log->write(std::string("a\r\nb\tc\x01\x1F\x7F\xFC", 10) + '\0');
    EXPECT_EQ(messages().back(), "a|{10}b{9}c{1}{31}\x7F\xFC{0}");
}

TEST(DiagnosticLogTimeStamp, HundredthsAreRoundedAndLocalTimeIsShown)
{
    const auto stamp = [](system_clock::time_point utc, int32_t offset = 0) {
        char text[DiagnosticLog::kTimeStampCapacity];
        return std::string(text, DiagnosticLog::formatTimeStamp({utc, offset}, text));
    };
    const system_clock::time_point second = sys_days{2028y / 2 / 29} + 9h + 5min + 7s;
    EXPECT_EQ(stamp(second), "29.02.2028 09:05:07-00");
    EXPECT_EQ(stamp(second + 4ms), "29.02.2028 09:05:07-00");
    EXPECT_EQ(stamp(second + 5ms), "29.02.2028 09:05:07-01");
    EXPECT_EQ(stamp(second + 994ms), "29.02.2028 09:05:07-99");
    EXPECT_EQ(stamp(second + 995ms), "29.02.2028 09:05:07-100");
    EXPECT_EQ(stamp(sys_days{2026y / 12 / 31} + 23h + 30min, 3600), "01.01.2027 00:30:00-00");
    EXPECT_EQ(stamp(sys_days{2027y / 1 / 1} + 30min, -7200), "31.12.2026 22:30:00-00");
}

TEST_F(DiagnosticLogTest, RotationKeepsTheOldestHistoryInProblem0)
{
    m_work.write("SAVE_ERR", "");
    start();
    // Each line adds 28 bytes of stamp and brackets to its message.
    const auto fill = [&](const std::string& tag, std::size_t from) {
        m_log->write(tag + std::string(500000 - from - 28 - tag.size(), '.'));
    };
    fill("first", m_program.read("Problem2.TXT").size());
    EXPECT_EQ(m_program.read("Problem2.TXT").size(), 500000u); // at the limit, not past it
    m_log->write("first crossing");
    EXPECT_FALSE(m_program.exists("Problem2.TXT"));
    EXPECT_EQ(messages("Problem1.TXT").back(), "first crossing");

    for (const std::string tag : {"second", "third"}) {
        m_log->write(tag);
        fill(tag, m_program.read("Problem2.TXT").size());
        m_log->write(tag + " crossing");
    }
    EXPECT_EQ(messages("Problem0.TXT").back(), "first crossing");
    EXPECT_EQ(messages("Problem1.TXT").front(), "third");
    EXPECT_FALSE(m_program.exists("Problem2.TXT"));
    m_log->write("fourth");
    EXPECT_EQ(messages(), std::vector<std::string>{"fourth"});
}

TEST_F(DiagnosticLogTest, StartAndEndLinesNeverRotate)
{
    m_program.write("DEBUG1", "");
    m_program.write("Problem2.TXT", std::string(1000001, 'x'));
    start();
    m_log->shutdown(0);
    EXPECT_FALSE(m_program.exists("Problem1.TXT"));
    m_log->startup();
    m_log->write("rotates");
    EXPECT_TRUE(m_program.exists("Problem1.TXT"));
}

TEST_F(DiagnosticLogTest, BlockedRotationLeavesTheFilesAndRetries)
{
    m_program.write("DEBUG1", "");
    start();
    m_program.write("Problem0.TXT", "oldest");
    std::filesystem::create_directories(m_program.file("Problem1.TXT/busy"));
    m_log->write(std::string(1000000, '.'));
    m_log->write("still here");
    EXPECT_EQ(messages().back(), "still here");
    std::filesystem::remove_all(m_program.file("Problem1.TXT"));
    m_log->write("now rotated");
    EXPECT_EQ(messages("Problem1.TXT").back(), "now rotated");
    EXPECT_EQ(m_program.read("Problem0.TXT"), "oldest");
}

TEST_F(DiagnosticLogTest, ConcurrentWritersNeverInterleaveLines)
{
    m_work.write("SAVE_ERR", "");
    start();
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([this, t] {
            for (int i = 0; i < 250; ++i)
                m_log->write("thread " + std::to_string(t) + " line " + std::to_string(i) + std::string(40, '='));
        });
    for (auto& writer : writers)
        writer.join();
    EXPECT_EQ(messages().size(), 1u + 4 * 250);
}

TEST_F(DiagnosticLogTest, FatalEndIsWrittenOnceAlsoWithTheLogOff)
{
    struct Case {
        std::string debugLevel; // empty: no marker file
        bool startLine;
        bool toDebugger;
    };
    // The file gets the end line whether or not the log was on.
    for (const Case& c : {Case{"", false, false}, Case{"40", true, false}, Case{"1024", false, true}}) {
        SCOPED_TRACE("DEBUG " + c.debugLevel);
        std::filesystem::remove(m_program.file("Problem2.TXT"));
        std::filesystem::remove(m_program.file("DEBUG"));
        m_debugger.clear();
        if (!c.debugLevel.empty())
            m_program.write("DEBUG", c.debugLevel);
        start();
        m_log->fatalShutdown(139, 0x12BEE0F);
        m_log->fatalShutdown(134, 0);

        const std::string endLine = "[Ende PC-Programm , (Dbg=" + (c.debugLevel.empty() ? "0" : c.debugLevel) +
                                    "), RT 139 at 2BEE0F]";
        std::vector<std::string> written{endLine};
        if (c.startLine)
            written.insert(written.begin(), " [Neustart Korvex-32 PC-Programm , DbgFlag=$28]");
        EXPECT_EQ(messages(), written);
        EXPECT_EQ(m_debugger, c.toDebugger ? std::vector<std::string>{endLine} : std::vector<std::string>{});
    }
}

TEST_F(DiagnosticLogTest, FatalEndFlushesPendingRepeatsButNoLineFollowsANormalEnd)
{
    m_program.write("DEBUG", "8");
    start();
    m_log->write("A");
    m_log->write("A");
    m_log->fatalShutdown(136, 0x40);
    m_log->shutdown(0);
    m_log->write("too late");
    const auto lines = messages();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "[1* Wiederholung]");
    EXPECT_EQ(lines[3], "[Ende PC-Programm , (Dbg=8), RT 136 at 000040]");
    EXPECT_EQ(lines[4], "[Ende PC-Programm , (Dbg=8), RT 0 at 000000]");
}
