#include "app/MainWindow.h"
#include "app/ReportActions.h"
#include "core/StationClient.h"
#include "model/UnsavedLinks.h"
#include "tests/common/PdfText.h"
#include "tests/common/ReportStation.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/ScriptedFileNames.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TempDir.h"

#include <QAction>
#include <QDate>
#include <QPrinter>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The window's "Datei" entries for the report, clicked as a user would, with
// the file dialog and the print dialog answered by the test.
class ReportActionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_config.writeSettings("[Schnittstellen]\r\n");
        window = std::make_unique<TF_Kalmoria_main>();
        station() = reportStation(3);
    }

    QAction& entry(const char* name) const
    {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }
    std::string text(const std::string& name) const { return PdfText(folder.file(name), 1, 0, false); }

    ScopedConfigHome m_config;
    TempDir folder;
    // The station the window shows.
    Station& station() { return window->station(); }

    std::unique_ptr<TF_Kalmoria_main> window;
};

TEST_F(ReportActionsTest, SaveProposesSerialAndDateAndWritesThePdfChosen)
{
    EXPECT_EQ(entry("BerichtSpeichern1").text(), QString::fromUtf8("Bericht speichern\xE2\x80\xA6"));
    ScriptedFileNames names(folder.file("bericht"));
    entry("BerichtSpeichern1").trigger();
    ASSERT_EQ(names.asked.size(), 1u);
    const std::string proposed = "4242_" + QDate::currentDate().toString(Qt::ISODate).toStdString() + ".pdf";
    EXPECT_TRUE(names.asked[0].start.ends_with("/" + proposed)) << names.asked[0].start;
    EXPECT_EQ(names.asked[0].filter, QStringLiteral("PDF-Dokument (*.pdf)"));
    EXPECT_NE(text("bericht.pdf").find("Servicebericht"), std::string::npos);

    names.answer.reset();
    entry("BerichtSpeichern1").trigger();
    EXPECT_EQ(QDir(QString::fromStdString(folder.path())).entryList(QDir::Files), QStringList{"bericht.pdf"});
}

TEST_F(ReportActionsTest, ANameWithoutPdfAsksBeforeReplacingTheFileThatTheSuffixNames)
{
    folder.write("Abnahme.pdf", "the report of the last visit");
    ScriptedFileNames names(folder.file("Abnahme"));
    ScriptedMessageBoxes boxes(idNo);
    entry("BerichtSpeichern1").trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, mbQuestion);
    EXPECT_EQ(boxes.shown[0].defaultButton, 2);
    const std::string asked = folder.file("Abnahme.pdf") + ", denn Berichte enden auf .pdf";
    EXPECT_NE(boxes.shown[0].text.find(asked), std::string::npos) << boxes.shown[0].text;
    EXPECT_EQ(folder.read("Abnahme.pdf"), "the report of the last visit");
    EXPECT_EQ(QDir(QString::fromStdString(folder.path())).entryList(QDir::Files), QStringList{"Abnahme.pdf"});

    boxes.answer = idYes;
    entry("BerichtSpeichern1").trigger();
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(text("Abnahme.pdf").find("Servicebericht"), std::string::npos);
}

TEST_F(ReportActionsTest, PrintDrawsTheSameReportOnThePrinterChosen)
{
    EXPECT_EQ(entry("BerichtDrucken1").text(), QString::fromUtf8("Bericht drucken\xE2\x80\xA6"));
    const std::string printed = folder.file("gedruckt.pdf");
    bool asked = false;
    const PrinterChooser previous = SetPrinterChooser([&](QPrinter& printer) {
        asked = true;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed));
        return true;
    });
    entry("BerichtDrucken1").trigger();
    SetPrinterChooser(previous);
    ASSERT_TRUE(asked);
    const std::string onPaper = text("gedruckt.pdf");
    for (const char* said : {"Servicebericht", "Seriennummer 4242, QMX-Adresse 30", "Seite 2 von 2"})
        EXPECT_NE(onPaper.find(said), std::string::npos) << said;
    EXPECT_NE(PdfInfo(printed).find("(A4)"), std::string::npos);
}

TEST_F(ReportActionsTest, NamesALinkFileOnlyWhileTheTableHoldsWhatWasKeptInIt)
{
    StationClient client(Preferences::Stored());
    MarkLinksKept(client.State(), "anlage.ini", folder.file("anlage.ini"));
    EXPECT_EQ(WindowReportFacts(client).linkFile, folder.file("anlage.ini"));
    MarkLinksKept(client.State(), "Station 4242"); // read from the device since
    EXPECT_EQ(WindowReportFacts(client).linkFile, "");
}

} // namespace
