#include "app/DeleteAllLinks.h"
#include "core/Session.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"
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

void fillThreeLinks()
{
    AnzBefehle = 0;
    for (int i = 1; i <= 3; ++i)
        AppendLink(i, 100, 0, 1, 4, 300, 0);
    MarkLinksKept();
}

} // namespace

TEST(DeleteAllLinks, YesEmptiesTheTableAndMarksTheDataConsistent)
{
    fillThreeLinks();
    DataState = 99;
    ScriptedMessageBoxes yes(idYes);
    RecordingView view;

    EXPECT_TRUE(DeleteAllLinks(view, {}));

    ASSERT_EQ(yes.shown.size(), 1u);
    EXPECT_EQ(yes.shown[0].kind, mbQuestion);
    EXPECT_EQ(yes.shown[0].buttons, mbYesNo);
    EXPECT_EQ(AnzBefehle, 0);
    EXPECT_EQ(LinkTable[1].ModulQ, 0);
    EXPECT_EQ(LinkTable[2].encodedText, kEmptyLinkText);
    EXPECT_EQ(DataState, 0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}

TEST(DeleteAllLinks, NoKeepsEveryLinkButStillShowsTheOverview)
{
    fillThreeLinks();
    DataState = 99;
    ScriptedMessageBoxes no(idNo);
    RecordingView view;

    EXPECT_FALSE(DeleteAllLinks(view, {}));

    EXPECT_EQ(AnzBefehle, 3);
    EXPECT_EQ(LinkTable[2].ModulQ, 2);
    EXPECT_EQ(DataState, 99);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}

TEST(DeleteAllLinks, UnsavedEditsAreAskedAboutInsteadOfTheDeleteQuestion)
{
    TempDir folder;
    // The answer, and whether the links then go: a save first when it was asked for.
    const std::pair<int, bool> cases[]{{idCancel, false}, {idNo, true}, {idYes, true}};
    for (const auto& [answer, deleted] : cases) {
        ResetSession();
        DataState = 0;
        fillThreeLinks();
        AppendLink(7, 100, 0, 1, 4, 300, 0); // the edit
        ScriptedMessageBoxes boxes(answer);
        ScriptedFileNames dialog(folder.file(std::to_string(answer) + ".ini"));
        RecordingView view;

        EXPECT_EQ(DeleteAllLinks(view, {}), deleted) << answer;

        ASSERT_EQ(boxes.shown.size(), 1u) << answer << ": one question only";
        EXPECT_EQ(boxes.shown[0].buttons, mbSaveDiscardCancel) << answer;
        EXPECT_EQ(AnzBefehle, deleted ? 0 : 4) << answer;
        EXPECT_EQ(folder.exists(std::to_string(answer) + ".ini"), answer == idYes) << answer;
    }
}
