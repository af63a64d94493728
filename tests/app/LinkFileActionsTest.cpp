#include "app/LinkFileActions.h"
#include "comm/Session.h"
#include "i18n/LanguageTexts.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/RecordingView.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::vector<LinkFields> kLinksInProgram{{2, 100, 0, 8, 9, 300, 0, 0}, {3, 42, 1, 2, 2, 300, 8, 1}};
const OverviewRows kOverview{{"Adr.", "Typ", "Modulname"}, {"20", "QMX-Zentrale", "Zentrale"}};

std::string message(int n, const std::vector<std::string>& arguments)
{
    return GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1);
}

class LinkFileActions : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSession();
        setTableLinks(kLinksInProgram);
        DataState = 1;
        StartDirectory = folder.path();
        LinkFileName = kDefaultLinkFileName;
        DefaultMessageArgument = " - ";
    }

    void TearDown() override { ResetSession(); }

    std::vector<std::string> shownTexts() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRequest& box : boxes.shown)
            texts.push_back(box.text);
        return texts;
    }

    // A file with one link: module 5, register 7 to module 6, register 8.
    static std::string oneLinkFile()
    {
        return "[QMX_Verknuepfungen]\r\n11=5\r\n12=7\r\n13=0\r\n14=1\r\n15=6\r\n16=8\r\n17=0\r\n18=1\r\n";
    }

    TempDir folder;
    ScriptedMessageBoxes boxes{idYes};
    ScriptedFileNames dialog;
    RecordingView view;
};

} // namespace

TEST_F(LinkFileActions, LoadingKeepsTheLinksUntilAFileHasBeenRead)
{
    std::filesystem::create_directory(folder.file("ordner.ini"));
    struct Case {
        const char* what;
        bool modulesKnown;
        int answer;
        std::optional<std::string> chosen;
        std::vector<std::string> shown;
    };
    const std::string missing = folder.file("fehlt.ini");
    const std::string directory = folder.file("ordner.ini");
    const std::string deleteAll = message(14, {" - "});
    const std::vector<Case> cases{
        {"no modules read yet", false, idYes, folder.file("x.ini"), {message(22, {" - "})}},
        {"the user keeps the links", true, idNo, folder.file("x.ini"), {deleteAll}},
        {"the dialog is cancelled", true, idYes, std::nullopt, {deleteAll}},
        {"the file is missing", true, idYes, folder.file("fehlt.cfg"),
         {deleteAll, message(28, {missing, "No such file or directory"})}},
        {"a folder is chosen", true, idYes, directory, {deleteAll, message(28, {directory, "Not a regular file"})}},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        boxes.answer = c.answer;
        dialog.answer = c.chosen;
        LoadLinksFromChosenFile(view, c.modulesKnown, StartDirectory);
        EXPECT_EQ(shownTexts(), c.shown) << c.what;
        EXPECT_EQ(tableLinks(), kLinksInProgram) << c.what;
        EXPECT_EQ(DataState, 1) << c.what;
    }
    EXPECT_EQ(boxes.shown.back().kind, mbError);
    ASSERT_EQ(dialog.asked.size(), 3u) << "asked only when the user agreed to lose the links";
    EXPECT_EQ(dialog.asked[0].purpose, FileNameRequest::Purpose::Open);
    EXPECT_EQ(dialog.asked[0].start, folder.path());
}

TEST_F(LinkFileActions, ALoadedFileReplacesTheLinksAndShowsTheLinkTable)
{
    std::string tooMany = "[QMX_Verknuepfungen]\r\n";
    for (int n = 1; n <= 300; ++n)
        tooMany += std::to_string(n * 10 + 4) + "=1\r\n";
    folder.write("eins.ini", oneLinkFile());
    folder.write("viele.ini", tooMany);
    struct Case {
        const char* chosen;
        int linksRead;
        std::string shown;
        int kind;
        LinkFields first;
    };
    const std::vector<Case> cases{
        {"eins.cfg", 1, message(21, {"1"}), mbInformation, {5, 7, 0, 1, 6, 8, 0, 1}},
        {"viele.ini", kMaxLinks, message(27, {"299"}), mbWarning, {0, 0, 0, 1, 0, 0, 0, 0}}};
    for (const Case& c : cases) {
        CapturedLog log(1);
        setTableLinks(kLinksInProgram);
        DataState = 99;
        boxes.shown.clear();
        view.calls.clear();
        dialog.answer = folder.file(c.chosen);

        LoadLinksFromChosenFile(view, true, StartDirectory);

        EXPECT_EQ(AnzBefehle, c.linksRead) << c.chosen;
        EXPECT_EQ(linkFields(LinkTable[1]), c.first) << c.chosen;
        ASSERT_EQ(boxes.shown.size(), 2u) << c.chosen;
        EXPECT_EQ(boxes.shown[1].text, c.shown);
        EXPECT_EQ(boxes.shown[1].kind, c.kind);
        EXPECT_EQ(DataState, 0);
        EXPECT_EQ(LinkFileName, folder.file(c.chosen));
        EXPECT_TRUE(log.contains("210-Verkn\xFCpfungsdaten aus Datei gelesen: " + folder.file(c.chosen)));
        EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0", "ShowStatus", "SelectPage 2"}));
    }
}

TEST_F(LinkFileActions, SavingIsRefusedWhileTheDataAreIncomplete)
{
    CapturedLog log(32);
    dialog.answer = folder.file("satz.ini");
    SaveLinksToChosenFile(kOverview);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(15, {" - "})});
    EXPECT_EQ(boxes.shown[0].kind, mbInformation);
    EXPECT_TRUE(log.contains("L12.W - Kommunikationsfehler verhindert Schreiben"));
    EXPECT_TRUE(dialog.asked.empty());
    EXPECT_FALSE(folder.exists("satz.ini"));
}

TEST_F(LinkFileActions, SavingWritesTheChosenFileOrSaysWhyNot)
{
    DataState = 0;
    CapturedLog log(1);

    SaveLinksToChosenFile(kOverview); // cancelled
    ASSERT_EQ(dialog.asked.size(), 1u);
    EXPECT_EQ(dialog.asked[0].purpose, FileNameRequest::Purpose::Save);
    EXPECT_EQ(dialog.asked[0].start, folder.file("QMXverk.ini"));

    const std::string notThere = folder.file("fehlt/satz.ini");
    dialog.answer = notThere;
    SaveLinksToChosenFile(kOverview);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, mbError);
    // The message names the file and gives the system's reason.
    const std::string& shown = boxes.shown[0].text;
    const std::string pattern = message(29, {notThere, "%s2"});
    const std::string before = pattern.substr(0, pattern.find("%s2"));
    const std::string after = pattern.substr(before.size() + 3);
    EXPECT_TRUE(shown.starts_with(before) && shown.ends_with(after) && shown.size() > pattern.size()) << shown;
    for (const std::string& line : log.messages())
        EXPECT_FALSE(line.starts_with("220-")) << line;

    dialog.answer = folder.file("anlage.cfg");
    SaveLinksToChosenFile(kOverview);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(LinkFileName, folder.file("anlage.cfg"));
    EXPECT_TRUE(log.contains("220-Verkn\xFCpfungsdaten in Datei geschrieben: " + folder.file("anlage.cfg")));
    EXPECT_EQ(linkFields(LoadLinkFile(folder.file("anlage.ini")).links), kLinksInProgram);
}
