#include "app/LinkTableActions.h"
#include "app/LinkTableQuestionBoxes.h"
#include "core/LinkTableFlows.h"
#include "i18n/MessageBoxEx.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/UnsavedLinks.h"
#include "tests/common/RecordingView.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

void fillThreeLinks(Station& station)
{
    station.AnzBefehle = 0;
    for (int i = 1; i <= 3; ++i)
        station.AppendLink(i, 100, 0, 1, 4, 300, 0);
    MarkLinksKept(station);
}

// The window's command on `station`, asked with the window's boxes.
bool deleteAll(ShellView& view, Station& station)
{
    LinkTableQuestionBoxes boxes;
    LinkTableFlows flows(station, boxes, ".");
    return DeleteAllLinks(view, flows, {});
}

} // namespace

TEST(DeleteAllLinks, YesEmptiesTheTableAndMarksTheDataConsistent)
{
    Station station;
    fillThreeLinks(station);
    station.DataState = 99;
    ScriptedMessageBoxes yes(idYes);
    RecordingView view;

    EXPECT_TRUE(deleteAll(view, station));

    ASSERT_EQ(yes.shown.size(), 1u);
    EXPECT_EQ(yes.shown[0].kind, mbQuestion);
    EXPECT_EQ(yes.shown[0].buttons, mbYesNo);
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.LinkTable[1].ModulQ, 0);
    EXPECT_EQ(station.LinkTable[2].encodedText, kEmptyLinkText);
    EXPECT_EQ(station.DataState, 0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}

TEST(DeleteAllLinks, NoKeepsEveryLinkButStillShowsTheOverview)
{
    Station station;
    fillThreeLinks(station);
    station.DataState = 99;
    ScriptedMessageBoxes no(idNo);
    RecordingView view;

    EXPECT_FALSE(deleteAll(view, station));

    EXPECT_EQ(station.AnzBefehle, 3);
    EXPECT_EQ(station.LinkTable[2].ModulQ, 2);
    EXPECT_EQ(station.DataState, 99);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}

TEST(DeleteAllLinks, UnsavedEditsAreAskedAboutInsteadOfTheDeleteQuestion)
{
    Station station;
    TempDir folder;
    // The answer, and whether the links then go: a save first when it was asked for.
    const std::pair<int, bool> cases[]{{idCancel, false}, {idNo, true}, {idYes, true}};
    for (const auto& [answer, deleted] : cases) {
        station = Station{};
        station.DataState = 0;
        fillThreeLinks(station);
        station.AppendLink(7, 100, 0, 1, 4, 300, 0); // the edit
        ScriptedMessageBoxes boxes(answer);
        ScriptedFileNames dialog(folder.file(std::to_string(answer) + ".ini"));
        RecordingView view;

        EXPECT_EQ(deleteAll(view, station), deleted) << answer;

        ASSERT_EQ(boxes.shown.size(), 1u) << answer << ": one question only";
        EXPECT_EQ(boxes.shown[0].buttons, mbSaveDiscardCancel) << answer;
        EXPECT_EQ(station.AnzBefehle, deleted ? 0 : 4) << answer;
        EXPECT_EQ(folder.exists(std::to_string(answer) + ".ini"), answer == idYes) << answer;
    }
}
