#include "editor/pages/LinkHistory.h"
#include "editor/rules/LinkStepName.h"
#include "diag/ProgramFolder.h"
#include "i18n/LanguageTexts.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/UnsavedLinks.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const std::vector<LinkFields> kRead{{2, 100, 0, 8, 9, 300, 0, 0}, {3, 42, 1, 2, 2, 300, 8, 0}};
const std::vector<LinkFields> kFile{{2, 101, 0, 16, 9, 301, 0, 1}};
const StationIdentity kStation{815, 20, 0x3301};

StepName named(const std::string& name)
{
    return [name] { return name; };
}

class LinkHistorySteps : public testing::Test {
protected:
    void SetUp() override
    {
        station.ReplaceLinks(linkRecords(kRead));
        station.LinkTableOrigin = kStation;
        MarkLinksKept(station);
    }

    // A file of unknown origin replaces the links and is kept.
    void loadFile()
    {
        history.Record(named("laden"), [&] {
            station.ReplaceLinks(linkRecords(kFile));
            station.LinkTableOrigin.reset();
            MarkLinksKept(station);
        });
    }
    void deleteFirst()
    {
        history.Record(named("l\xF6schen"), [&] { station.DeleteLink(1); });
    }

    Station station;
    LinkHistory history{station};
};

} // namespace

TEST_F(LinkHistorySteps, AStepThatChangedNothingIsNoStep)
{
    history.Record(named("nichts"), [] {});
    history.Record(named("zu voll"), [&] { station.ReplaceLinks(station.CurrentLinks()); });
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.StepCount(), 0);
}

TEST_F(LinkHistorySteps, UndoAndRedoPutBackLinksOriginAndWhatWasKept)
{
    int putBack = 0;
    QObject::connect(&history, &LinkHistory::linksPutBack, [&] { ++putBack; });
    loadFile();
    deleteFirst();
    EXPECT_EQ(putBack, 0) << "a step recorded is done already";
    EXPECT_EQ(history.UndoName(), "l\xF6schen");

    history.Undo();
    EXPECT_EQ(tableLinks(station), kFile);
    EXPECT_FALSE(HasUnsavedLinks(station));
    history.Undo();
    EXPECT_EQ(tableLinks(station), kRead);
    EXPECT_EQ(station.LinkTableOrigin, kStation);
    EXPECT_FALSE(HasUnsavedLinks(station)) << "the device's links were kept before the file came";
    EXPECT_EQ(history.RedoName(), "laden");

    history.Redo();
    history.Redo();
    EXPECT_TRUE(tableLinks(station).empty());
    EXPECT_FALSE(station.LinkTableOrigin.has_value());
    EXPECT_TRUE(HasUnsavedLinks(station));
    EXPECT_EQ(putBack, 4);
}

TEST_F(LinkHistorySteps, ASaveOrWriteAfterAStepStaysKnownWhenTheStepIsUndone)
{
    deleteFirst();
    MarkLinksKept(station); // saved or written
    station.LinkTableOrigin = StationIdentity{4711, 3, 0x3301};

    history.Undo();
    EXPECT_EQ(tableLinks(station), kRead);
    EXPECT_TRUE(HasUnsavedLinks(station)) << "the file or device holds the table without link 1";
    EXPECT_EQ(station.LinkTableOrigin->serialNumber, 4711);
    history.Redo();
    EXPECT_FALSE(HasUnsavedLinks(station));
}

TEST_F(LinkHistorySteps, ANewStepEndsWhatCouldBeRedone)
{
    deleteFirst();
    history.Undo();
    history.Record(named("aus"), [&] { station.LinkTable[2].deaktiv = 1; });
    EXPECT_FALSE(history.CanRedo());
    history.Undo();
    EXPECT_EQ(tableLinks(station), kRead);
}

TEST_F(LinkHistorySteps, TheOldestStepsGoOnlyBeyondTheLimit)
{
    station.ReplaceLinks({});
    constexpr int kSteps = LinkHistory::kStepLimit + 50;
    static_assert(LinkHistory::kStepLimit >= 100);
    for (int i = 1; i <= kSteps; ++i)
        history.Record(named(std::to_string(i)), [this, i] { station.AppendLink(2, 100 + i % 50, 0, 1, 9, 300 + i % 50, i % 16); });
    ASSERT_EQ(station.AnzBefehle, kSteps);
    EXPECT_EQ(history.StepCount(), LinkHistory::kStepLimit);
    while (history.CanUndo())
        history.Undo();
    EXPECT_EQ(station.AnzBefehle, kSteps - LinkHistory::kStepLimit);
}

TEST_F(LinkHistorySteps, AHistoryGoingAwaySaysNothingMore)
{
    auto going = std::make_unique<LinkHistory>(station);
    going->Record(named("l\xF6schen"), [&] { station.DeleteLink(1); });
    int announced = 0;
    QObject::connect(going.get(), &LinkHistory::changed, [&] { ++announced; });
    going.reset();
    EXPECT_EQ(announced, 0) << "a window being destroyed must not be asked to show its step names";
}

TEST_F(LinkHistorySteps, StepNamesFollowTheLanguageShownAlsoForStepsMadeBefore)
{
    const TempDir program;
    const std::string head = "[GLOBAL]\r\nVERSION=20150610\r\nSPRACHE=";
    program.write("Kalmoria.TXT", head + "Deutsch\r\n[ERROR]\r\nT90=Verkn\xFCpfung %s1 \xFC" "bernehmen\r\n"
                                         "[F_Kalmoria_main]\r\nT18=QMX lesen\r\n");
    program.write("KalmoriaEN.TXT", head + "English\r\n[ERROR]\r\nT90=Take over link %s1\r\n"
                                           "[F_Kalmoria_main]\r\nT18=Read QMX\r\n");
    ResetLanguageTexts(program.path(), "Kalmoria");
    ASSERT_TRUE(ActivateLanguage(""));
    history.Record(CommandStepName(18), [&] { station.DeleteLink(2); });
    history.Record(LinkStepName(LinkStep::TakeOver, 4), [&] { station.DeleteLink(1); });
    EXPECT_EQ(history.UndoName(), "Verkn\xFCpfung 4 \xFC" "bernehmen");

    ASSERT_TRUE(ActivateLanguage("KalmoriaEN.TXT"));
    SetTextSection("F_PDauswahl"); // a dialog translated last
    EXPECT_EQ(history.UndoName(), "Take over link 4");
    history.Undo();
    EXPECT_EQ(history.UndoName(), "Read QMX");
    EXPECT_EQ(history.RedoName(), "Take over link 4");
    ResetLanguageTexts(programFolder(), "Kalmoria");
}
