#pragma once

// The service report a technician hands in after commissioning or servicing
// a station: where the data came from, the module overview, the link table
// with the link check's findings beside the links, the comparison with the
// device, the last write and the link plan, on A4 pages with a footer on
// each. It reports a station as it stands (modules, overview, links and their
// origins) with the facts the station does not hold.

#include "core/ReportFacts.h"
#include "editor/drawing/LinkPlanPainter.h"
#include "model/LinkFile.h"
#include "model/LinkModel.h"
#include "model/Station.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QTextDocument;

class ServiceReport {
public:
    // Takes in the facts now: a later change of the station does not change the report.
    explicit ServiceReport(const ServiceReportFacts& facts);

    // Lays the report out on `device` (a PDF writer or a printer, its page
    // size and margins as set) and draws every page with its footer. The
    // number of pages; 0 when nothing could be drawn on the device.
    int Print(QPagedPaintDevice& device) const;

    // The PDF's title: "Servicebericht 4242".
    const QString& Title() const { return m_title; }

private:
    // The report as a document laid out for `device`'s fonts and page.
    void fill(QTextDocument& document) const;

    QString m_title;
    QString m_html;
    QString m_footer; // the station and the date, left in each footer
    LinkPlan m_plan;
    LinkPlanTexts m_planTexts;
};

// A4 with the report's margins; a printer may be given another paper after.
void SetReportPageLayout(QPagedPaintDevice& device);

// Done with the pages written, or FileNotWritten with the notice that names
// the file and the system's reason.
struct ReportSave : Result {
    int pages = 0;
};

// Writes the report as an A4 PDF to `path`, replacing a file there in one
// step: a report that cannot be written leaves no file behind and an
// existing one as it was.
ReportSave SaveServiceReport(const ServiceReportFacts& facts, const QString& path);
