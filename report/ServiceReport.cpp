#include "report/ServiceReport.h"

#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "diag/Version.h"
#include "editor/drawing/LinkPlanTexts.h"
#include "model/LinkModel.h"
#include "report/PlanTextObject.h"
#include "report/ReportHtml.h"
#include "report/ReportTexts.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Below each page's text: a line, the station and the date, the page number.
constexpr double kFooterHeightMm = 9;

} // namespace


ServiceReport::ServiceReport(const ServiceReportFacts& facts)
    : m_html(ServiceReportHtml(facts))
{
    const std::vector<LinkRecord> links = facts.station.CurrentLinks();
    const std::optional<StationIdentity> station = ReportedStation(facts.station);
    m_title = ansiToQString(ReportWord(ReportHeading::Title)
                            + (station ? " " + IntToText(station->serialNumber) : std::string()));
    const std::vector<PlanModule> modules = OverviewPlanModules(facts.station);
    m_plan = LayOutLinkPlan(modules, links);
    m_planTexts = CurrentLinkPlanTexts(m_plan, modules.size(), links.size(), facts.station.OverviewOrigin);
    m_footer = ansiToQString((station ? ReportStationText(*station) + "  \xB7  " : std::string()))
               + facts.made.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

void ServiceReport::fill(QTextDocument& document) const
{
    document.setHtml(m_html);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(newPage);
    // The plan carries its own title.
    PlanTextObject::Append(document, m_plan, m_planTexts);
}

int ServiceReport::Print(QPagedPaintDevice& device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const double dotsPerMm = device.logicalDpiY() / 25.4;
    const QRectF page(0, 0, device.width(), device.height());
    const QRectF body(0, 0, page.width(), page.height() - kFooterHeightMm * dotsPerMm);

    QTextDocument document;
    // Fonts are measured on the device the report is drawn on, not the screen.
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    fill(document);
    document.setPageSize(body.size());
    const int pages = document.pageCount();

    QFont footerFont(QStringLiteral("DejaVu Sans"));
    footerFont.setPointSizeF(7.5);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -p * body.height());
        context.clip = body.translated(0, p * body.height());
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        const QRectF footer(0, page.height() - (kFooterHeightMm - 3) * dotsPerMm, page.width(),
                            (kFooterHeightMm - 3) * dotsPerMm);
        painter.setPen(QPen(Qt::darkGray, 0.2 * dotsPerMm));
        painter.drawLine(footer.topLeft(), footer.topRight());
        painter.setPen(Qt::black);
        painter.setFont(footerFont);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom, m_footer);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom, ansiToQString(ReportPageText(p + 1, pages)));
    }
    return painter.end() ? pages : 0;
}

void SetReportPageLayout(QPagedPaintDevice& device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(18, 15, 18, 10), QPageLayout::Millimeter);
}

ReportSave SaveServiceReport(const ServiceReportFacts& facts, const QString& path)
{
    const ServiceReport report(facts);
    QSaveFile file(path);
    const auto failed = [&](const QString& reason) {
        file.cancelWriting();
        ReportSave save;
        save.outcome = Outcome::FileNotWritten;
        save.notices.push_back(Notice{kMessageReportNotSaved, Notice::Severity::Error,
                                      {fileNameToAnsi(QFile::encodeName(path).toStdString()), qStringToAnsi(reason)},
                                      {}, {}});
        return save;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    int pages = 0;
    {
        QPdfWriter pdf(&file);
        SetReportPageLayout(pdf);
        pdf.setTitle(report.Title());
        pdf.setCreator(QStringLiteral("Kalmoria " KALMORIA_VERSION));
        pages = report.Print(pdf);
    }
    if (pages == 0 || file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    if (!file.commit())
        return failed(file.errorString());
    ReportSave save;
    save.pages = pages;
    return save;
}

