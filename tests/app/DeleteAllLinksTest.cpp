#include "app/DeleteAllLinks.h"
#include "app/UnsavedLinksQuestion.h"
#include "comm/Session.h"
#include "i18n/LanguageTexts.h"
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

#include <filesystem>
#include <optional>
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
    struct Case {
        const char* what;
        int answer;
        std::optional<std::string> chosen; // the save dialog's answer
        bool deleted;
        bool saved;
    };
    TempDir folder;
    const std::vector<Case> cases{
        {"cancel", idCancel, std::nullopt, false, false},
        {"discard", idNo, std::nullopt, true, false},
        {"save", idYes, folder.file("gesichert.ini"), true, true},
        {"save, but the dialog is cancelled", idYes, std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        ResetSession();
        DataState = 0;
        DefaultMessageArgument = " - ";
        fillThreeLinks();
        AppendLink(7, 100, 0, 1, 4, 300, 0); // the edit
        ScriptedMessageBoxes boxes(c.answer);
        ScriptedFileNames dialog(c.chosen);
        RecordingView view;

        EXPECT_EQ(DeleteAllLinks(view, {}), c.deleted) << c.what;

        ASSERT_EQ(boxes.shown.size(), 1u) << c.what << ": one question only";
        EXPECT_EQ(boxes.shown[0].text, GetMessageText(kMessageUnsavedLinks, {"4"}, 0)) << c.what;
        EXPECT_EQ(boxes.shown[0].buttons, mbSaveDiscardCancel) << c.what;
        EXPECT_EQ(AnzBefehle, c.deleted ? 0 : 4) << c.what;
        EXPECT_EQ(folder.exists("gesichert.ini"), c.saved) << c.what;
        std::filesystem::remove(folder.file("gesichert.ini"));
    }
}
