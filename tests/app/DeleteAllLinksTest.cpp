#include "app/DeleteAllLinks.h"
#include "i18n/MessageBoxEx.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/RecordingView.h"
#include "tests/common/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void fillThreeLinks()
{
    AnzBefehle = 0;
    for (int i = 1; i <= 3; ++i)
        AppendLink(i, 100, 0, 1, 4, 300, 0);
}

} // namespace

TEST(DeleteAllLinks, YesEmptiesTheTableAndMarksTheDataConsistent)
{
    fillThreeLinks();
    DataState = 99;
    ScriptedMessageBoxes yes(idYes);
    RecordingView view;

    EXPECT_TRUE(DeleteAllLinks(view));

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

    EXPECT_FALSE(DeleteAllLinks(view));

    EXPECT_EQ(AnzBefehle, 3);
    EXPECT_EQ(LinkTable[2].ModulQ, 2);
    EXPECT_EQ(DataState, 99);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0"}));
}
