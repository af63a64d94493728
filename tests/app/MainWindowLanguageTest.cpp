#include "app/MainWindow.h"
#include "widgets/StringGrid.h"
#include "diag/AnsiText.h"
#include "i18n/LanguageTexts.h"
#include "tests/common/ScopedConfigHome.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Every text a user can see on the window or hover over.
QStringList visibleTexts(const TF_Kalmoria_main& window)
{
    QStringList texts{window.windowTitle()};
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        texts << widget->toolTip();
        if (const auto* button = qobject_cast<const QToolButton*>(widget))
            texts << button->text();
        if (const auto* menu = qobject_cast<const QMenu*>(widget))
            texts << menu->title();
        if (const auto* pages = qobject_cast<const QTabWidget*>(widget)) {
            for (int i = 0; i < pages->count(); ++i)
                texts << pages->tabText(i);
        }
    }
    for (const QAction* action : window.findChildren<QAction*>())
        texts << action->text() << action->statusTip();
    const auto* grid = window.findChild<StringGrid*>(QStringLiteral("SG1"));
    for (int col = 0; col < grid->columnCount(); ++col)
        texts << ansiToQString(grid->cell(col, 0));
    return texts;
}

struct Language {
    const char* file;     // the stored choice; empty: the default file
    const char* firstTab; // as the file words it, UTF-8
};

class MainWindowLanguage : public testing::TestWithParam<Language> {};

} // namespace

TEST_P(MainWindowLanguage, ShowsNoTextPlaceholder)
{
    const ScopedConfigHome config;
    config.writeSettings(std::string("[Kalmoria]\r\nSprache=") + GetParam().file + "\r\n[Schnittstellen]\r\n");

    const TF_Kalmoria_main window;

    const QRegularExpression placeholder(QStringLiteral("@\\d"));
    for (const QString& text : visibleTexts(window))
        EXPECT_FALSE(text.contains(placeholder)) << text.toStdString();
    EXPECT_EQ(MissingTextCount(), 0);
    EXPECT_EQ(window.findChild<QTabWidget*>(QStringLiteral("TabSheet"))->tabText(0),
              QString::fromUtf8(GetParam().firstTab));
    EXPECT_FALSE(window.findChild<QToolButton*>(QStringLiteral("ToolButton4"))->toolTip().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EveryLanguageFile, MainWindowLanguage,
                         testing::Values(Language{"", "Modul\xC3\xBC" "bersicht"},
                                         Language{"KalmoriaDE.TXT", "Modul\xC3\xBC" "bersicht"},
                                         Language{"KalmoriaEN.TXT", "Module overview"}));
