#include "diag/TextHelpers.h"
#include "tests/common/Frames.h"
#include "tests/common/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The messages of the log a probe run leaves behind, without time stamps and
// without the start and end lines.
std::string traceAtLevel(const std::string& level)
{
    TempDir folder;
    std::filesystem::copy_file(KALMORIA_TRACE_PROBE, folder.file("probe"));
    folder.write("DEBUG", level);
    QProcess probe;
    probe.setWorkingDirectory(QString::fromStdString(folder.path()));
    probe.start(QString::fromStdString(folder.file("probe")), {});
    EXPECT_TRUE(probe.waitForFinished(10000));
    EXPECT_EQ(probe.exitCode(), 0) << "the transfer itself failed";

    std::string text;
    const std::string log = folder.read("Problem2.TXT");
    for (size_t begin = 0, end; (end = log.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        const size_t open = log.find('>', begin);
        const std::string message = log.substr(open + 1, end - open - 2);
        if (message.find("PC-Programm") == std::string::npos)
            text += message + "\n";
    }
    return text;
}

} // namespace

TEST(SerialTrace, FramesAreTracedUnderBitEightOnly)
{
    const std::string request = withCrc(bytes({0x61, 0, 0, 0, 0, 0x05, 0xDC, 0x02, 0, 0, 0}));
    const std::string reply = replyFrame(1500, {0x0300, 0x0042});
    EXPECT_EQ(traceAtLevel("8"), "+ReOpenPort\n"
                                 "Com=1: TRUE   Baud=9600\n"
                                 " OpenPort\n"
                                 "  RX iCnt: 0, Len: 0, iMaxZeichen: 99999\n"
                                 "  RS-: \n"
                                 "  RS+: " + HexDump(request) + "\n"
                                 "  RX iCnt: 0, Len: 14, iMaxZeichen: 99999\n"
                                 "  RS-: " + HexDump(reply) + "\n"
                                 "CLOSE COM1\n"
                                 "+ReOpenPort\n"
                                 "Com=2: FALSE  Baud=9600\n"
                                 " OpenPort\n");
    // Any other level shows only the opening and closing of ports.
    EXPECT_EQ(traceAtLevel("32"), "Com=1: TRUE   Baud=9600\n"
                                  "CLOSE COM1\n"
                                  "Com=2: FALSE  Baud=9600\n");
}
