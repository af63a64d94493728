#include "sequences/DeviceRead.h"
#include "sequences/LinkWrite.h"
#include "sequences/PortSearch.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/ReplyEndModes.h"
#include "tests/common/ShownNotices.h"
#include "tests/common/DeviceTestBench.h"
#include "transports/LineFactory.h"

#include <tuple>

namespace {

// What the device sequences make of a device with one fault switched on.
struct DeviceFault {
    const char* name;
    QStringList options;
    std::vector<int> readMessages;  // in the order shown; 11 carries the type word 0
    std::vector<int32_t> modules;   // the overview's module list after the read
    int32_t links;                  // links read
    bool writeSucceeds;
    bool found;                     // the port search takes the device
};

const std::vector<int32_t> kAllModules{0, 2, 3, 9, 0};
const std::vector<int> kNoDevice{13, 11};

DeviceFault healthy(const char* name, QStringList options)
{
    return {name, std::move(options), {}, kAllModules, 3, true, true};
}

// Every reply spoilt: the existence words are missing and no device of ours answers.
DeviceFault broken(const char* name, QStringList options)
{
    return {name, std::move(options), kNoDevice, {}, 0, false, false};
}

const std::vector<DeviceFault> kFaults{
    healthy("NoFault", {}),
    broken("Silent", {"--silent"}),
    broken("BadCrc", {"--bad-crc"}),
    broken("WrongAddress", {"--wrong-address"}),
    broken("WrongCount", {"--wrong-count"}),
    healthy("TwoExtraBytes", {"--extra-bytes", "2"}),
    healthy("FourExtraBytes", {"--extra-bytes", "4"}),
    broken("OneExtraByte", {"--extra-bytes", "1"}),
    broken("ThreeExtraBytes", {"--extra-bytes", "3"}),
    // A pause shorter than the quiet line keeps the reply together; a longer
    // one splits it, and its late rest runs into the next reply.
    healthy("ShortPause", {"--pause-ms", "60"}),
    broken("LongPause", {"--pause-ms", "300"}),
    // Existence, configuration, name block 0 and module 2 answered; module 3,
    // the links, the write and the search's probe not.
    {"FailFrom5", {"--fail-from", "5"}, {13, 13}, {0, 2}, 0, false, false},
    {"FailLinkArea", {"--fail-range", "30800:31999"}, {13}, kAllModules, 0, false, true},
    // More than the longest reply: the receive stops, the rest must be dropped.
    broken("Flood", {"--flood", "600"}),
};

class DeviceFaults : public DeviceTestBench, public testing::WithParamInterface<std::tuple<DeviceFault, bool>> {
protected:
    const DeviceFault& fault() const { return std::get<0>(GetParam()); }
    bool fastReplyEnd() const { return std::get<1>(GetParam()); }

    std::vector<int32_t> moduleList() const
    {
        if (station.ModulAnzahl == 0)
            return {};
        return {station.ModuleList.begin(), station.ModuleList.begin() + station.ModulAnzahl + 1};
    }
};

} // namespace

// Read, write and port search against every fault of the simulated device:
// both ways of ending a reply must come to the same results.
TEST_P(DeviceFaults, ReadWriteAndSearchComeOutTheSameWhateverWayRepliesEnd)
{
    const std::string path = startDevice(kSmallDevice, fault().options).path();
    mapPorts({"", path});
    station.ComPortNr = 2;
    auto client = std::make_unique<Tvep>(SystemLines());
    client->FastReplyEnd = fastReplyEnd();

    shown(ReadDevice(*client, station, view));
    std::vector<std::string> expected;
    for (const int n : fault().readMessages)
        expected.push_back(n == 11 ? message(11, "0") : message(n));
    EXPECT_EQ(shownTexts(), expected);
    EXPECT_EQ(station.DataState, expected.empty() ? 0 : 1);
    EXPECT_EQ(moduleList(), fault().modules);
    EXPECT_EQ(station.AnzBefehle, fault().links);
    EXPECT_FALSE(view.progressShown);

    // One inactive link, written whatever the read achieved.
    station.ClearAllLinks();
    station.AppendLink(2, 100, 0, 8, 9, 300, 0);
    station.DataState = 0;
    boxes.shown.clear();
    shown(WriteLinksToDevice(*client, station, &view));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{fault().writeSucceeds ? messageWith(20, {"1", "0", "1"})
                                                                           : message(5)});
    EXPECT_FALSE(view.progressShown);

    SearchComPort(client, station, view);
    EXPECT_EQ(station.ComPortNr, fault().found ? 2 : 1);
    EXPECT_EQ(client->FastReplyEnd, fastReplyEnd());
    EXPECT_FALSE(view.progressShown);
}

INSTANTIATE_TEST_SUITE_P(EveryFault, DeviceFaults, testing::Combine(testing::ValuesIn(kFaults), kBothReplyEnds),
                         [](const testing::TestParamInfo<std::tuple<DeviceFault, bool>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_"
                                    + replyEndName({std::get<1>(info.param), info.index});
                         });
