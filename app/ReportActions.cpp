#include "app/ReportActions.h"

#include "app/FileNameChooser.h"
#include "core/StationClient.h"
#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "editor/drawing/LinkPlanTexts.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"
#include "model/Station.h"
#include "diag/ProgramFolder.h"
#include "model/UnsavedLinks.h"
#include "report/ReportTexts.h"
#include "sequences/DeviceNotices.h"
#include "report/ReportHtml.h"
#include "transports/ComPortMap.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace {

constexpr int kTextSaveReport = 127;
constexpr int kTextPrintReport = 128;
constexpr int kTextPdfFilter = 129;

bool showPrintDialog(QPrinter& printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

PrinterChooser& installedPrinterChooser()
{
    static PrinterChooser chooser = showPrintDialog;
    return chooser;
}

// "<serial number>_<date>.pdf" beside the link file, else in the working folder.
std::string proposedReportPath(const Station& station)
{
    const std::optional<StationIdentity> origin = ReportedStation(station);
    const QString name = QStringLiteral("%1_%2.pdf")
                             .arg(origin ? origin->serialNumber : station.SerialNumber)
                             .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    const QFileInfo linkFile(QFile::decodeName(station.LinkFileName.c_str()));
    const QString folder = linkFile.path() != QLatin1String(".") || StartDirectory().empty()
                               ? linkFile.absolutePath()
                               : QFile::decodeName(StartDirectory().c_str());
    return QFile::encodeName(QDir(folder).filePath(name)).toStdString();
}

void saveReport(const StationClient& station)
{
    const FileNameRequest request{FileNameRequest::Purpose::Save, proposedReportPath(station.State()),
                                  MainWindowText(kTextPdfFilter, "PDF-Dokument (*.pdf)")};
    const std::optional<std::string> chosen = ChooseFileName(request);
    if (!chosen || chosen->empty())
        return;
    QString path = QFile::decodeName(chosen->c_str());
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0) {
        path += QStringLiteral(".pdf");
        // The dialog asked about the name the user typed; the file the added
        // suffix names is asked about here. No is the default: the name typed
        // was another one.
        if (QFileInfo::exists(path)) {
            const std::string question = GetMessageText(
                kMessageReplaceOtherReport, {fileNameToAnsi(QFile::encodeName(path).toStdString())}, 0);
            if (MessageBoxEx(question, mbQuestion, mbYesNo, 2) != idYes)
                return;
        }
    }
    ShowNotices(SaveServiceReport(WindowReportFacts(station), path).notices);
}

void printReport(const StationClient& station)
{
    QPrinter printer(QPrinter::HighResolution);
    SetReportPageLayout(printer);
    const ServiceReport report(WindowReportFacts(station));
    printer.setDocName(report.Title());
    const PrinterChooser& choose = installedPrinterChooser();
    if (choose && choose(printer))
        report.Print(printer);
}

} // namespace

PrinterChooser SetPrinterChooser(PrinterChooser chooser)
{
    return std::exchange(installedPrinterChooser(), std::move(chooser));
}

ServiceReportFacts WindowReportFacts(const StationClient& station)
{
    // The window numbers its ports as Kalmoria.ini does.
    return GatherReportFacts(station, station.State().ComPortNr);
}

void AddReportEntries(QMenu& menu, std::function<const StationClient&()> station)
{
    // Translated with the main window's menu, as its texts 127 and 128.
    QAction* save = menu.addAction(QString::fromUtf8("@%1Bericht speichern\xE2\x80\xA6").arg(kTextSaveReport));
    save->setObjectName(QStringLiteral("BerichtSpeichern1"));
    QObject::connect(save, &QAction::triggered, &menu, [station] { saveReport(station()); });
    QAction* print = menu.addAction(QString::fromUtf8("@%1Bericht drucken\xE2\x80\xA6").arg(kTextPrintReport));
    print->setObjectName(QStringLiteral("BerichtDrucken1"));
    QObject::connect(print, &QAction::triggered, &menu, [station] { printReport(station()); });
}
