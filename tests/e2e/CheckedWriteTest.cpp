#include "app/MainWindow.h"
#include "sequences/DeviceNotices.h"
#include "sequences/LinkAreaRead.h"
#include "editor/rules/LinkProblemText.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/Snapshots.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/TableLinks.h"
#include "tests/common/DeviceTestBench.h"

#include <QAction>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

const std::vector<LinkFields>& kStationLinks = kSmallStationLinks;
const StationIdentity kStationIdentity{815, 20, 0x3301};

// The same modules behind another station().
std::string otherStation()
{
    return smallStation().Serial(4711).DeviceImage();
}

class CheckedWrite : public DeviceTestBench {
protected:
    void SetUp() override
    {
        DeviceTestBench::SetUp();
        startDevice(smallStation().DeviceImage(), extraOptions());
        window = std::make_unique<TF_Kalmoria_main>();
        window->ActionLadenQMXExecute();
        ASSERT_EQ(window->station().DataState, 0);
        ASSERT_EQ(tableLinks(window->station()), kStationLinks);
        boxes.shown.clear();
        // The change to write: the first link goes, one comes.
        window->station().DeleteLink(1);
        ASSERT_TRUE(window->station().AppendLink(9, 150, 3, 12, 2, 350, 4));
    }
    virtual QStringList extraOptions() const { return {}; }

    void setWriteCheck(bool on)
    {
        auto* item = window->findChild<QAction*>(QStringLiteral("SchreibenPruefen1"));
        ASSERT_NE(item, nullptr);
        if (item->isChecked() != on)
            item->trigger();
    }

    // The station the window shows; the bench's own is not used here.
    Station& station() { return window->station(); }

    std::unique_ptr<TF_Kalmoria_main> window;
};

class CheckedWriteToADeviceThatKeepsItsLinks : public CheckedWrite {
protected:
    QStringList extraOptions() const override { return {QStringLiteral("--ignore-writes")}; }
};

} // namespace

TEST_F(CheckedWrite, KeepsASnapshotOfTheOldLinksAndSaysTheNewOnesAreChecked)
{
    const std::vector<LinkFields> written = tableLinks(station());
    window->ActionSpeichernQMXExecute();

    const std::vector<std::string> snapshots = ListSnapshots(815);
    ASSERT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(std::filesystem::path(snapshots.front()).parent_path(),
              std::filesystem::path(config.dataHome()) / "kalmoria/backups/815");
    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(kMessageWrittenAndChecked,
                                                                 {"2", "1", "1", snapshots.front()})});
    EXPECT_EQ(deviceLinks(), written);

    const LinkFileLoad snapshot = LoadLinkFile(snapshots.front());
    ASSERT_TRUE(snapshot.ok()) << snapshot.reason;
    EXPECT_EQ(linkFields(snapshot.links), kStationLinks);
    EXPECT_EQ(snapshot.origin, kStationIdentity);
}

TEST_F(CheckedWriteToADeviceThatKeepsItsLinks, IsAnErrorNamingTheFirstDifferenceAndTheSnapshot)
{
    CapturedLog log(32);
    window->ActionSpeichernQMXExecute();

    const std::vector<std::string> snapshots = ListSnapshots(815);
    ASSERT_EQ(snapshots.size(), 1u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown.front().kind, mbError);
    EXPECT_EQ(shownTexts().front(), messageWith(kMessageWriteMismatch, {"1", "0209,0064,012C,0008",
                                                                        "0302,002A,012C,1802", snapshots.front()}));
    EXPECT_TRUE(log.contains("231-Verkn\xFCpfung 1 in QMX weicht ab: 0209,0064,012C,0008 statt 0302,002A,012C,1802"));
    EXPECT_EQ(deviceLinks(), kStationLinks);
}

TEST_F(CheckedWrite, AnotherStationOnThePortIsAskedAboutAndNoWritesNothing)
{
    startDevice(otherStation());
    const std::vector<LinkFields> before = deviceLinks();
    boxes.answer = idNo;
    window->ActionSpeichernQMXExecute();

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown.front().kind, mbQuestion);
    EXPECT_EQ(boxes.shown.front().buttons, mbYesNo);
    EXPECT_EQ(boxes.shown.front().defaultButton, 2) << "No is the default";
    EXPECT_EQ(shownTexts().front(),
              messageWith(kMessageOtherStationAllModules, {"SN 815, Adr. 20", "SN 4711, Adr. 20"}));
    EXPECT_EQ(deviceLinks(), before);
    EXPECT_TRUE(ListSnapshots(4711).empty());

    // Answered Yes, the links go to the other station, after its snapshot.
    boxes.answer = idYes;
    window->ActionSpeichernQMXExecute();
    EXPECT_EQ(ListSnapshots(4711).size(), 1u);
    EXPECT_EQ(deviceLinks(), tableLinks(window->station()));
}

TEST_F(CheckedWrite, LinksTheEditorWouldNotAllowAreListedAndNoWritesNothing)
{
    // An active link onto target bits 8..9 of module 2, which link 1 writes.
    ASSERT_TRUE(station().AppendLink(9, 150, 0, 4, 2, 300, 9));
    station().LinkTable[3].deaktiv = 0;
    setWriteCheck(false);
    boxes.answer = idNo;
    window->ActionSpeichernQMXExecute();

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown.front().kind, mbQuestion);
    EXPECT_EQ(boxes.shown.front().defaultButton, 2) << "No is the default";
    EXPECT_EQ(shownTexts().front(),
              messageWith(kMessageWriteDespiteProblems, {messageWith(kMessageTargetOverlap, {"3", "1"})}));
    EXPECT_EQ(deviceLinks(), kStationLinks);

    boxes.answer = idYes;
    window->ActionSpeichernQMXExecute();
    EXPECT_EQ(deviceLinks(), tableLinks(window->station()));
}

TEST_F(CheckedWrite, AMissingModuleAgreedToInTheLinkListIsNotAskedAboutAgain)
{
    // An active link to module 5, which the station does not carry.
    ASSERT_TRUE(station().AppendLink(3, 100, 2, 4, 5, 300, 7));
    station().LinkTable[3].deaktiv = 0;
    boxes.answer = idYes;
    window->ActionSpeichernQMXExecute();

    ASSERT_EQ(boxes.shown.size(), 2u) << "the list, then what was written";
    EXPECT_EQ(shownTexts().front(),
              messageWith(kMessageWriteDespiteProblems, {messageWith(kMessageModuleMissing, {"3", "5"})}));
    EXPECT_EQ(deviceLinks(), tableLinks(window->station()));
}

TEST_F(CheckedWrite, UncheckedItIsTheSingleTransferOfAPlainWrite)
{
    setWriteCheck(false);
    CapturedLog log(1 | 8);
    window->ActionSpeichernQMXExecute();

    EXPECT_EQ(shownTexts(), std::vector<std::string>{messageWith(20, {"2", "1", "1"})});
    const std::vector<std::string> lines = log.messages();
    EXPECT_EQ(std::ranges::count_if(lines, [](const std::string& l) { return l.starts_with("  RS+: "); }), 1);
    EXPECT_TRUE(log.contains("230-Verkn\xFCpfungsdaten in QMX geschrieben !!!"));
    EXPECT_FALSE(std::filesystem::exists(config.dataHome()));

    // The choice is kept for the next start.
    EXPECT_NE(config.settings().find("SchreibenPruefen=0"), std::string::npos);
}

TEST_F(CheckedWrite, TheSnapshotRestoredFromTheFileMenuPutsTheOldLinksBack)
{
    window->ActionSpeichernQMXExecute();
    const std::vector<std::string> snapshots = ListSnapshots(815);
    ASSERT_EQ(snapshots.size(), 1u);

    // The dialog proposes the snapshot, not a file of the user's own that sorts after it.
    std::ofstream(StationBackupFolder(815) + "Anlage Nord korrigiert.ini") << "[QMX_Verknuepfungen]\r\n";
    ScriptedFileNames dialog(snapshots.front());
    boxes.answer = idYes; // all links of the program may go
    window->ActionSicherungExecute();
    ASSERT_EQ(dialog.asked.size(), 1u);
    EXPECT_EQ(dialog.asked.front().start, snapshots.front());
    EXPECT_EQ(tableLinks(window->station()), kStationLinks);
    EXPECT_EQ(window->station().LinkTableOrigin, kStationIdentity);

    window->ActionSpeichernQMXExecute();
    EXPECT_EQ(deviceLinks(), kStationLinks);
}
