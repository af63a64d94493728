#include "app/LinkTableActions.h"
#include "app/LinkTableQuestionBoxes.h"
#include "core/LinkTableFlows.h"
#include "i18n/LanguageTexts.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/UnsavedLinks.h"
#include "tests/common/CapturedLog.h"
#include "tests/common/RecordingView.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

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
        setTableLinks(station, kLinksInProgram);
        MarkLinksKept(station);
        station.DataState = 1;
        station.LinkFileName = kDefaultLinkFileName;
    }

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

    std::string workFolder() const { return folder.path(); }

    Station station;
    TempDir folder;
    LinkTableQuestionBoxes questions;
    LinkTableFlows flows{station, questions, folder.path()};
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
        {"a file saved as UTF-16", true, idYes, folder.file("utf16.ini"), {deleteAll, message(51, {folder.file("utf16.ini")})}},
        {"a device image", true, idYes, folder.file("geraet.ini"), {deleteAll, message(52, {folder.file("geraet.ini")})}},
        {"a value that is no number", true, idYes, folder.file("tippfehler.ini"),
         {deleteAll, message(53, {folder.file("tippfehler.ini"), "1", "12", "1OO"})}},
    };
    folder.write("utf16.ini", std::string("\xFF\xFE[\0Q\0", 6));
    folder.write("geraet.ini", "[Device]\r\nType=0x3301\r\n[Links]\r\n1=8305,0064,012C,2704\r\n");
    folder.write("tippfehler.ini", "[QMX_Verknuepfungen]\r\n11=5\r\n12=1OO\r\n14=1\r\n");
    for (const Case& c : cases) {
        boxes.shown.clear();
        boxes.answer = c.answer;
        dialog.answer = c.chosen;
        LoadLinksFromChosenFile(view, flows, c.modulesKnown, workFolder(), kOverview);
        EXPECT_EQ(shownTexts(), c.shown) << c.what;
        EXPECT_EQ(tableLinks(station), kLinksInProgram) << c.what;
        EXPECT_EQ(station.DataState, 1) << c.what;
    }
    EXPECT_EQ(boxes.shown.back().kind, mbError);
    ASSERT_EQ(dialog.asked.size(), 6u) << "asked only when the user agreed to lose the links";
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
    folder.write("luecke.ini", oneLinkFile() + "31=5\r\n34=1\r\n");
    struct Case {
        const char* chosen;
        int linksRead;
        std::string shown;
        int kind;
        LinkFields first;
    };
    const std::vector<Case> cases{
        {"eins.cfg", 1, message(21, {"1"}), mbInformation, {5, 7, 0, 1, 6, 8, 0, 1}},
        {"viele.ini", kMaxLinks, message(27, {"299"}), mbWarning, {0, 0, 0, 1, 0, 0, 0, 0}},
        {"luecke.ini", 1, message(54, {folder.file("luecke.ini"), "1", "3"}), mbWarning, {5, 7, 0, 1, 6, 8, 0, 1}}};
    for (const Case& c : cases) {
        CapturedLog log(1);
        setTableLinks(station, kLinksInProgram);
        MarkLinksKept(station);
        station.DataState = 99;
        boxes.shown.clear();
        view.calls.clear();
        dialog.answer = folder.file(c.chosen);

        LoadLinksFromChosenFile(view, flows, true, workFolder(), kOverview);

        EXPECT_EQ(station.AnzBefehle, c.linksRead) << c.chosen;
        EXPECT_EQ(linkFields(station.LinkTable[1]), c.first) << c.chosen;
        ASSERT_EQ(boxes.shown.size(), 2u) << c.chosen;
        EXPECT_EQ(boxes.shown[1].text, c.shown);
        EXPECT_EQ(boxes.shown[1].kind, c.kind);
        EXPECT_EQ(station.DataState, 0);
        EXPECT_EQ(station.LinkFileName, folder.file(c.chosen));
        EXPECT_TRUE(log.contains("210-Verkn\xFCpfungsdaten aus Datei gelesen: " + folder.file(c.chosen)));
        EXPECT_EQ(view.calls, (std::vector<std::string>{"ShowStatus", "SelectPage 0", "ShowStatus", "SelectPage 2"}));
        EXPECT_FALSE(HasUnsavedLinks(station)) << c.chosen;
    }
}

TEST_F(LinkFileActions, SavingIsRefusedWhileTheDataAreIncomplete)
{
    CapturedLog log(32);
    dialog.answer = folder.file("satz.ini");
    flows.SaveLinkFile(kOverview);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{message(15, {" - "})});
    EXPECT_EQ(boxes.shown[0].kind, mbInformation);
    EXPECT_TRUE(log.contains("L12.W - Kommunikationsfehler verhindert Schreiben"));
    EXPECT_TRUE(dialog.asked.empty());
    EXPECT_FALSE(folder.exists("satz.ini"));
}

TEST_F(LinkFileActions, SavingWritesTheChosenFileOrSaysWhyNot)
{
    station.DataState = 0;
    CapturedLog log(1);

    flows.SaveLinkFile(kOverview); // cancelled
    ASSERT_EQ(dialog.asked.size(), 1u);
    EXPECT_EQ(dialog.asked[0].purpose, FileNameRequest::Purpose::Save);
    EXPECT_EQ(dialog.asked[0].start, folder.file("QMXverk.ini"));

    const std::string notThere = folder.file("fehlt/satz.ini");
    dialog.answer = notThere;
    flows.SaveLinkFile(kOverview);
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
    flows.SaveLinkFile(kOverview);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(station.LinkFileName, folder.file("anlage.cfg"));
    EXPECT_TRUE(log.contains("220-Verkn\xFCpfungsdaten in Datei geschrieben: " + folder.file("anlage.cfg")));
    EXPECT_EQ(linkFields(LoadLinkFile(folder.file("anlage.ini")).links), kLinksInProgram);
}

TEST_F(LinkFileActions, SavingUnderAnotherNameAsksBeforeReplacingThatFile)
{
    station.DataState = 0;
    const std::string old = "[Notiz]\r\nText=alt\r\n";
    struct Case {
        const char* chosen;
        int answer;
        bool asked;
        bool saved;
        const char* written;
    };
    const std::vector<Case> cases{
        {"anlage.cfg", idNo, true, false, "anlage.ini"}, // the .ini exists
        {"anlage.cfg", idYes, true, true, "anlage.ini"},
        {"anlage.ini", idNo, false, true, "anlage.ini"}, // the dialog confirmed that very file
        {"neu.cfg", idNo, false, true, "neu.ini"},
        {"Anlage 3.1", idNo, false, true, "Anlage 3.1.ini"},
        {"latin1-\xE4", idNo, false, true, "latin1-\xE4.ini"},
    };
    for (const Case& c : cases) {
        setTableLinks(station, {{2, 100, 0, 8, 9, 300, 0, 1}}); // an edit of the links kept
        folder.write("anlage.ini", old);
        station.LinkFileName = kDefaultLinkFileName;
        boxes.shown.clear();
        boxes.answer = c.answer;
        dialog.answer = folder.file(c.chosen);

        EXPECT_EQ(flows.SaveLinkFile(kOverview), c.saved) << c.chosen;

        ASSERT_EQ(boxes.shown.size(), c.asked ? 1u : 0u) << c.chosen;
        if (c.asked) {
            EXPECT_EQ(boxes.shown[0].text, message(56, {folder.file(c.written)}));
            EXPECT_EQ(boxes.shown[0].defaultButton, 2) << "No is the default";
        }
        EXPECT_EQ(folder.read(c.written) != old, c.saved) << c.chosen;
        EXPECT_EQ(station.LinkFileName, c.saved ? folder.file(c.chosen) : kDefaultLinkFileName) << c.chosen;
        EXPECT_EQ(HasUnsavedLinks(station), !c.saved) << c.chosen;
    }
    EXPECT_EQ(linkFields(LoadLinkFile(folder.file("latin1-\xE4.ini")).links), tableLinks(station));
}

TEST_F(LinkFileActions, ANameTheDialogShowsWithReplacementCharactersFindsItsFile)
{
    for (const char* name : {"latin1-\xE4.ini", "zwei-\xE4.ini", "zwei-\xF6.ini", "gr\xC3\xBC" "n.ini"})
        folder.write(name, oneLinkFile());
    // The file the dialog showed, and the one found; two names shown alike give none of them.
    const std::vector<std::pair<std::string, std::string>> cases{{"latin1-\xE4.ini", "latin1-\xE4.ini"},
                                                                 {"gr\xC3\xBC" "n.ini", "gr\xC3\xBC" "n.ini"},
                                                                 {"zwei-\xE4.ini", "zwei-\xEF\xBF\xBD.ini"},
                                                                 {"neu.ini", "neu.ini"}};
    for (const auto& [file, found] : cases)
        EXPECT_EQ(FileSystemPath(QFile::decodeName(QByteArray::fromStdString(folder.file(file)))), folder.file(found));
}
