#include "tests/editor/pages/EditorPageFixture.h"

#include "app/FileNameChooser.h"
#include "app/TF_rs232.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/TF_PDauswahl.h"
#include "tests/common/ModalScript.h"
#include "tests/common/VisibleTexts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

// German words the program itself shows; the modules' names are the device's.
const QStringList kGermanWords{"Verkn\u00FCpfung", "abbrechen", "Auswahl", "Adr", "SerNr", "Konfig", "QMXverk", "alle",
                               "Quelle", "Ziel", "Datei", "Einstellung", "Sprachwahl", "Modulname", "\u00FCbernehmen",
                               "anzeigen", "l\u00F6schen", "deaktivieren", "Anzahl", "Schnittstelle", "beenden"};

class WindowLanguageTest : public EditorPageTest, public testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        config.writeSettings(std::string("[Kalmoria]\r\nSprache=") + GetParam() + "\r\n[Schnittstellen]\r\n");
        window = std::make_unique<TF_Kalmoria_main>();
        const std::string proposed = station().LinkFileName; // the builder's station has none
        useModulesOfEveryKind(station());
        station().LinkFileName = proposed;
        // Link A goes to the module shown as target, link B elsewhere: every choice the dialog has.
        addLink(2, 100, 0, 4, 5, 300, 0);
        addLink(2, 100, 0, 2, 8, 300, 0);
        openPage();
        choose("ComboBox1", sourceItem(station(), 2));
        choose("ComboBox3", targetItem(station(), 5));
    }

    // Everything the window, its pages, the link action dialog of cell 1, the
    // port dialog and the file dialog of a save show.
    QStringList everyText()
    {
        QStringList texts;
        auto* links = window->findChild<TF_PDauswahl*>();
        QFont large = links->font(); // as on a desktop with large fonts
        large.setPointSizeF(large.pointSizeF() * 2);
        links->setFont(large);
        WhileModal(*links, [&] { QTest::mouseClick(cell(1), Qt::RightButton); }, [&] {
            texts << VisibleTexts(*links);
            // Neither the caption nor a choice is clipped.
            EXPECT_GE(links->width(), links->fontMetrics().horizontalAdvance(links->windowTitle()));
            for (const QLabel* choice : links->findChildren<QLabel*>())
                EXPECT_GE(choice->width(), choice->fontMetrics().horizontalAdvance(choice->text()));
            links->reject();
        });
        auto* port = window->findChild<TF_rs232*>();
        WhileModal(*port, [&] { window->ComPort1Click(); }, [&] {
            texts << VisibleTexts(*port);
            port->reject();
        });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                texts << dialog->nameFilters() << dialog->selectedFiles();
                dialog->reject();
            }
        });
        const FileNameChooser previous = SetFileNameChooser([&](const FileNameRequest& request) {
            poll.start(20);
            return ShowQtFileDialog(request);
        });
        window->findChild<QAction*>(QStringLiteral("ActionSpeichern"))->trigger();
        SetFileNameChooser(previous);
        for (int page = 0; page < 3; ++page) {
            window->SelectPage(page);
            texts << VisibleTexts(*window);
        }
        for (int32_t address : {2, 3, 4, 5, 8, 12})
            texts.replaceInStrings(ansiToQString(station().Module(address).name), QString());
        return texts;
    }
};

} // namespace

TEST_P(WindowLanguageTest, ShowsTheProgramsWordsOnlyInTheChosenLanguage)
{
    const QStringList texts = everyText();
    const QString all = texts.join(QLatin1Char('\n'));
    // Each word shows in German, and none in English.
    const bool english = std::string(GetParam()) == "KalmoriaEN.TXT";
    for (const QString& word : kGermanWords) {
        const QRegularExpression whole("\\b" + word + "\\b", QRegularExpression::UseUnicodePropertiesOption);
        EXPECT_EQ(all.contains(whole), !english) << word.toStdString();
    }
    if (english) {
        EXPECT_TRUE(texts.contains(QStringLiteral("Links at M:1 R:100 B:0"))) << all.toStdString();
        return;
    }
    // German reads as it always has.
    for (const char* german : {"Auswahl f\xFCr  M:1 R:100 B:0", "Verkn\xFCpfung - A deaktivieren",
                               "Verkn\xFCpfung - A l\xF6schen", "Verkn\xFCpfung - B anzeigen", "SerNr.: 0",
                               "Konfig ini-Dateien (*.ini)", "alle (*)"})
        EXPECT_TRUE(texts.contains(ansiToQString(german))) << german;
}

INSTANTIATE_TEST_SUITE_P(GermanAndEnglish, WindowLanguageTest, testing::Values("KalmoriaDE.TXT", "KalmoriaEN.TXT"));

TEST_P(WindowLanguageTest, ASwitchOfLanguageRenamesWhatTheWindowPutTogether)
{
    const bool toEnglish = std::string(GetParam()) == "KalmoriaDE.TXT";
    for (QAction* item : window->findChild<QMenu*>(QStringLiteral("mSprachwahl"))->actions())
        if (item->text() == (toEnglish ? QStringLiteral("English") : QStringLiteral("Deutsch")))
            window->mSprachwahlClick(item);
    EXPECT_EQ(window->statusPanelText(0), toEnglish ? "QMX addr.: 10" : "QMX-Adr.: 10");
    EXPECT_EQ(items("ComboBox1")[static_cast<std::size_t>(sourceItem(station(), 2))],
              toEnglish ? "Pumpwerk Nord (T0) - addr. 12" : "Pumpwerk Nord (T0) - Adr:12");
    EXPECT_EQ(station().LinkFileName, toEnglish ? "QMXlinks" : "QMXverk");
}
