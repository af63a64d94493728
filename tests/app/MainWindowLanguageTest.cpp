#include "app/MainWindow.h"
#include "widgets/StringGrid.h"
#include "diag/AnsiText.h"
#include "diag/ProgramFolder.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageTexts.h"
#include "i18n/ProgramTexts.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/VisibleTexts.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A language file that holds the program's list of texts and nothing else.
std::string fileOfTheListedTexts()
{
    std::string bytes = "[GLOBAL]\r\nVERSION=20150610\r\nSPRACHE=Liste\r\n";
    std::string section = "GLOBAL";
    for (const TextKey& text : ProgramTextKeys()) {
        if (text.section != section)
            bytes += "[" + (section = text.section) + "]\r\n";
        bytes += text.key + "=listed\r\n";
    }
    return bytes;
}

struct Language {
    const char* file;     // the stored choice; empty: the default file
    const char* firstTab; // as the file words it, UTF-8
    const char* ticked;   // the language menu's item for the language in use
};

class MainWindowLanguage : public testing::TestWithParam<Language> {};

} // namespace

TEST_P(MainWindowLanguage, ShowsNoTextPlaceholder)
{
    const ScopedConfigHome config;
    config.writeSettings(std::string("[Kalmoria]\r\nSprache=") + GetParam().file + "\r\n[Schnittstellen]\r\n");

    const TF_Kalmoria_main window;

    const QRegularExpression placeholder(QStringLiteral("@\\d"));
    for (const QString& text : VisibleTexts(window))
        EXPECT_FALSE(text.contains(placeholder)) << text.toStdString();
    EXPECT_EQ(MissingTextCount(), 0);
    EXPECT_EQ(window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->tabText(0),
              QString::fromUtf8(GetParam().firstTab));
    EXPECT_FALSE(window.findChild<QToolButton*>(QStringLiteral("ToolButton4"))->toolTip().isEmpty());
    QStringList ticked;
    for (const QAction* item : window.findChild<QMenu*>(QStringLiteral("mSprachwahl"))->actions()) {
        if (item->isChecked())
            ticked << item->text();
    }
    EXPECT_EQ(ticked, QStringList{QString::fromUtf8(GetParam().ticked)});
}

INSTANTIATE_TEST_SUITE_P(EveryLanguageFile, MainWindowLanguage,
                         testing::Values(Language{"", "Modul\xC3\xBC" "bersicht", "Deutsch"},
                                         Language{"KalmoriaDE.TXT", "Modul\xC3\xBC" "bersicht", "Deutsch"},
                                         Language{"KalmoriaEN.TXT", "Module overview", "English"}));

TEST(MainWindowTexts, AskForNoTextBeyondTheProgramsList)
{
    const TempDir program;
    program.write("Kalmoria.TXT", fileOfTheListedTexts());
    ResetLanguageTexts(program.path(), "Kalmoria");
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\n");
    {
        const TF_Kalmoria_main window;
        // The dialogs too, as a language switch translates them.
        TranslateAllForms();
        EXPECT_EQ(MissingTextCount(), 0);
        for (int i = 1; i <= 20; ++i)
            EXPECT_EQ(window.MemTabLine(i), "listed") << i;
        for (int i = 1; i <= 21; ++i)
            EXPECT_EQ(window.Memo1Line(i), "listed") << i;
        EXPECT_EQ(window.Memo2Line(1), "listed");
    }
    ResetLanguageTexts(programFolder(), "Kalmoria");
}

TEST(MainWindowTexts, ACaptionTheFileLacksShowsItsNumber)
{
    const TempDir program;
    std::string texts = fileOfTheListedTexts();
    const auto page = texts.find("T28=listed\r\n", texts.find("[F_Kalmoria_main]"));
    program.write("Kalmoria.TXT", texts.erase(page, std::string("T28=listed\r\n").size()));
    ResetLanguageTexts(program.path(), "Kalmoria");
    const ScopedConfigHome config;
    config.writeSettings("[Schnittstellen]\r\n");
    {
        const TF_Kalmoria_main window;
        EXPECT_EQ(window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->tabText(2), QStringLiteral("@28"));
        EXPECT_GT(MissingTextCount(), 0);
    }
    ResetLanguageTexts(programFolder(), "Kalmoria");
}
