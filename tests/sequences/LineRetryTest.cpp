#include "sequences/DeviceRead.h"
#include "sequences/LinkWrite.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/DeviceTestBench.h"

namespace {

using LineRetry = DeviceTestBench;

// Transfers of a read of the small device: 1 existence, 2 configuration,
// 3 name block 0, 4.. the station data.
struct RetryCase {
    const char* name;
    QStringList fault;
    int32_t retries;
    bool readOk;
    std::vector<std::string> attemptLines; // VEPtransfer lines, in order
};

} // namespace

TEST_F(LineRetry, AReadRepeatsAFailedTransferOnlyAsOftenAsAllowed)
{
    const std::string nameBlock = "(lesen 32000/128, schreiben 0/0): ";
    const RetryCase cases[] = {
        {"broken CRC, retries on", {"--fail-transfer", "3", "--bad-crc"}, 2, true,
         {"VEPtransfer Versuch 1 von 3 fehlgeschlagen " + nameBlock + "-20 CRC error"}},
        {"broken CRC, retries off", {"--fail-transfer", "3", "--bad-crc"}, 0, false, {}},
        {"wrong echo twice, one retry", {"--fail-transfer", "3", "--fail-transfer", "4", "--wrong-address"}, 1, false,
         {"VEPtransfer Versuch 1 von 2 fehlgeschlagen " + nameBlock + "-21 reply does not match the request",
          "VEPtransfer Versuch 2 von 2 fehlgeschlagen " + nameBlock + "-21 reply does not match the request"}},
        {"silence, retries on", {"--fail-transfer", "3"}, 1, true,
         {"VEPtransfer Versuch 1 von 2 fehlgeschlagen " + nameBlock + "-10 no reply"}},
    };
    for (const RetryCase& c : cases) {
        SCOPED_TRACE(c.name);
        devices.clear();
        startDevice(kSmallDevice, c.fault);
        vep.Retries = c.retries;
        CapturedLog log(8 | 32);
        const DeviceReadResult result = ReadDevice(vep, station, view);
        EXPECT_EQ(result.ok(), c.readOk);
        EXPECT_EQ(station.DataState, c.readOk ? 0 : 1);
        if (c.readOk)
            EXPECT_EQ(station.AnzBefehle, 3);
        else
            EXPECT_TRUE(log.contains("L12.2 - Kommunikationsfehler"));
        std::vector<std::string> attempts;
        for (const std::string& line : log.messages()) {
            if (line.starts_with("VEPtransfer"))
                attempts.push_back(line);
        }
        EXPECT_EQ(attempts, c.attemptLines);
    }
}

TEST_F(LineRetry, ALinkWriteIsSentAgainOnlyWhenItsReplyWasMissingOrBroken)
{
    struct WriteCase {
        const char* fault;
        bool written;
        int attempts; // VEPtransfer lines
    };
    // The write is the simulator's first transfer.
    const WriteCase cases[] = {{"--silent", true, 1}, {"--bad-crc", true, 1}, {"--wrong-address", false, 0}};
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.fault);
        devices.clear();
        startDevice(kSmallDevice, {"--fail-transfer", "1", c.fault});
        station.DataState = 0;
        station.AnzBefehle = 0;
        vep.Retries = 2;
        CapturedLog log(8);
        const LinkWriteResult result = WriteLinksToDevice(vep, station);
        EXPECT_EQ(result.ok(), c.written);
        int attempts = 0;
        for (const std::string& line : log.messages())
            attempts += line.starts_with("VEPtransfer Versuch 1 von 3 fehlgeschlagen (lesen 0/0, schreiben 30800/4)");
        EXPECT_EQ(attempts, c.attempts);
    }
}
