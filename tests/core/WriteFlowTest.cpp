#include "core/StationClient.h"
#include "core/WriteQuestions.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/Snapshots.h"
#include "sequences/DeviceNotices.h"
#include "tests/common/DeviceTestBench.h"

#include <functional>
#include <optional>

namespace {

// The small station's modules behind another serial number.
std::string stationNumbered(uint16_t serial)
{
    return smallStation().Serial(serial).DeviceImage();
}

// A user who answers the write's questions as a row says.
class ScriptedQuestions : public WriteQuestions {
public:
    Consent WriteDespiteLinkProblems(const std::vector<LinkProblem>& problems) override
    {
        asked.push_back(problems);
        return Consent::Refused;
    }
    bool WriteToOtherStation(const StationCheck&) override
    {
        ++stationQuestions;
        if (whileAsked)
            whileAsked();
        return yesToOtherStation;
    }

    bool yesToOtherStation = false;
    std::function<void()> whileAsked; // runs while the port is closed for the question
    int stationQuestions = 0;
    std::vector<std::vector<LinkProblem>> asked; // the link problems asked about, each time
};

struct WriteRow {
    const char* name;
    std::string connected;            // the device on COM1 when the write starts
    QStringList faults;               // its qmx-sim options
    bool yesToOtherStation;
    std::optional<std::string> after; // the device COM1 leads to after the question
    Outcome outcome;
    int notice;                       // the first notice's number; 0: none
    bool linksArrive;                 // the device COM1 leads to at the end holds the new links
};

void PrintTo(const WriteRow& row, std::ostream* out)
{
    *out << row.name;
}

class WriteFlow : public DeviceTestBench, public testing::WithParamInterface<WriteRow> {};

} // namespace

TEST_P(WriteFlow, AsksOnceAndSaysWhatTheDeviceHolds)
{
    const WriteRow& row = GetParam();
    StationClient client(Preferences{});
    Station& station = client.State();
    startDevice(smallStation().DeviceImage());
    ASSERT_TRUE(client.Read(view).ok());
    station.DeleteLink(1);
    ASSERT_TRUE(station.AppendLink(9, 150, 3, 12, 2, 350, 4));
    const std::vector<LinkFields> written = tableLinks(station);

    startDevice(row.connected, row.faults);
    ScriptedQuestions questions;
    questions.yesToOtherStation = row.yesToOtherStation;
    if (row.after)
        questions.whileAsked = [this, &row] { startDevice(*row.after); };
    const CheckedLinkWriteResult result = client.Write(&view, client.WriteChecks(), {}, questions);

    EXPECT_EQ(result.outcome, row.outcome) << result.errorString();
    EXPECT_EQ(result.notices.empty() ? 0 : result.notices.front().number, row.notice);
    EXPECT_EQ(deviceLinks() == written, row.linksArrive);
    EXPECT_LE(questions.stationQuestions, 1);
    // A snapshot is filed only under the station it was read from.
    if (row.after) {
        EXPECT_TRUE(ListSnapshots(4712).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Core, WriteFlow,
    testing::Values(
        WriteRow{"ItsOwnStation", smallStation().DeviceImage(), {}, false, {}, Outcome::Done,
                 kMessageWrittenAndChecked, true},
        WriteRow{"AnotherStationRefused", stationNumbered(4711), {}, false, {}, Outcome::Refused, 0, false},
        WriteRow{"AnotherStationAgreed", stationNumbered(4711), {}, true, {}, Outcome::Done,
                 kMessageWrittenAndChecked, true},
        // After the question the port leads to yet another device: nothing goes to it.
        WriteRow{"AnotherDeviceAfterTheQuestion", stationNumbered(4711), {}, true, stationNumbered(4712),
                 Outcome::Refused, kMessageOtherStationAfterReopen, false},
        // Silent before the write frame: the device holds what it held.
        WriteRow{"SilentBeforeWriting", smallStation().DeviceImage(),
                 {QStringLiteral("--fail-transfer"), QStringLiteral("1")}, false, {}, Outcome::TransferFailed,
                 kMessageNothingSent, false},
        // Silent after the write frame (configuration, modules, snapshot, write):
        // the device may hold anything, and the snapshot is named.
        WriteRow{"SilentAfterTheWriteFrame", smallStation().DeviceImage(),
                 {QStringLiteral("--fail-transfer"), QStringLiteral("4")}, false, {}, Outcome::TransferFailed,
                 kMessageWriteOutcomeUnknown, false}),
    [](const testing::TestParamInfo<WriteRow>& info) { return std::string(info.param.name); });

// The station holds an active link to module 5, which it lacks: written back
// as read it cannot make the device worse, and nobody is asked; changed, it is.
TEST_F(DeviceTestBench, OnlyLinksTheWriteChangesAreAskedAbout)
{
    StationClient client(Preferences{});
    Station& station = client.State();
    startDevice(smallStation().Link({2, 110, 0, 8, 5, 300, 0, 0}).DeviceImage());
    ASSERT_TRUE(client.Read(view).ok());
    ScriptedQuestions questions;
    questions.yesToOtherStation = true; // the station lacks module 5
    EXPECT_TRUE(client.Write(&view, client.WriteChecks(), {}, questions).ok());
    EXPECT_TRUE(questions.asked.empty());

    station.LinkTable[3].RegZ += 1;
    EXPECT_EQ(client.Write(&view, client.WriteChecks(), {}, questions).outcome, Outcome::Refused);
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked.front().front().link, 3);
}
