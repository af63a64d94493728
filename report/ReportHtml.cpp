#include "report/ReportHtml.h"

#include "core/StationOverview.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "diag/Version.h"
#include "editor/rules/LinkCheck.h"
#include "editor/drawing/LinkPlanTexts.h"
#include "editor/rules/LinkProblemText.h"
#include "model/Station.h"
#include "model/LinkComparison.h"
#include "model/ModuleModel.h"
#include "model/ModuleOverview.h"
#include "protocol/DeviceRegisters.h"
#include "report/ReportTexts.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kTextTable = 91;   // the main window's column headings
constexpr int kTextSource = 30;
constexpr int kTextTarget = 31;
constexpr int kTextActive = 65;
constexpr int kTextInactive = 66;
// The link table page's columns from the heading lines of table 91: module
// number, module name, register, bit and count of the source, the target's
// four, active or not.
constexpr std::array<int, 10> kLinkHeadingLines{1, 2, 3, 4, 5, 1, 2, 3, 4, 6};
// Their widths in percent of the page, behind the link number's; the rest
// is the check's. Names and findings break their lines where they are long.
constexpr std::array<int, 11> kLinkColumnWidths{4, 4, 18, 6, 5, 5, 4, 18, 6, 5, 4};

const char* const kStyle = "body { font-family: 'DejaVu Sans'; font-size: 9pt; }"
                           "h1 { font-size: 15pt; } h2 { font-size: 12pt; margin-top: 1.2em; margin-bottom: 0.4em; }"
                           "table.grid { border-collapse: collapse; font-size: 7.5pt; margin-bottom: 1em; }"
                           "table.grid th { background-color: #dfe8f2; }"
                           "table.grid td, table.grid th { border: 0.5px solid #808080; padding: 2px; }"
                           "td.label { font-weight: bold; padding-right: 12px; }"
                           "pre { font-family: 'DejaVu Sans Mono'; font-size: 8pt; }";

QString html(const std::string& ansi)
{
    return ansiToQString(ansi).toHtmlEscaped();
}

QString cell(const QString& text, const char* tag = "td")
{
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), text);
}

QString heading(ReportHeading which)
{
    return QStringLiteral("<h2>%1</h2>").arg(html(ReportWord(which)));
}

QString paragraph(ReportStatement statement)
{
    return QStringLiteral("<p>%1</p>").arg(html(ReportWord(statement)));
}

QString labelRow(ReportLabel label, const QString& value)
{
    return QStringLiteral("<tr>") + cell(html(ReportWord(label)), "td class=\"label\"") + cell(value)
           + QStringLiteral("</tr>");
}

std::string deviceTypeText(uint16_t type)
{
    return type == DeviceRegisters::TypeQmx620 ? std::string("QMX-620") : "0x" + WordToHex4(type);
}

QString titleBlock(const ServiceReportFacts& facts)
{
    const std::string unknown = ReportWord(ReportStatement::Unknown);
    const std::optional<StationIdentity> station = ReportedStation(facts.station);
    QString rows = labelRow(ReportLabel::Made, facts.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    rows += labelRow(ReportLabel::Serial, html(station ? IntToText(station->serialNumber) : unknown));
    rows += labelRow(ReportLabel::Address, html(station ? IntToText(station->address) : unknown));
    rows += labelRow(ReportLabel::DeviceType, html(station ? deviceTypeText(station->type) : unknown));
    if (!facts.port.empty())
        rows += labelRow(ReportLabel::ReadOver, html(facts.port));
    if (!facts.linkFile.empty()) {
        rows += labelRow(ReportLabel::LinkFile, html(facts.linkFile));
        const std::optional<StationIdentity>& origin = facts.station.LinkTableOrigin;
        const std::string fileStation = origin ? ReportStationText(*origin) : unknown;
        rows += labelRow(ReportLabel::FileStation, html(fileStation));
    }
    return QStringLiteral("<h1>%1</h1><p>Kalmoria " KALMORIA_VERSION "</p><table>%2</table>")
        .arg(html(ReportWord(ReportHeading::Title)), rows);
}

QString gridTable(const QString& head, const QString& body)
{
    return QStringLiteral("<table class=\"grid\" width=\"100%\" cellspacing=\"0\"><thead>%1</thead>%2</table>")
        .arg(head, body);
}

QString overviewSection(const ServiceReportFacts& facts)
{
    std::vector<std::vector<std::string>> rows;
    for (const OverviewRow& row : ModuleOverviewRows(facts.station))
        rows.emplace_back(row.begin(), row.end());
    // A file reported without its station shows the overview it keeps.
    if (rows.empty() && facts.fileOverview.size() > 1)
        rows.assign(facts.fileOverview.begin() + 1, facts.fileOverview.end());
    QString head = QStringLiteral("<tr>");
    for (const std::string& title : OverviewHeadings())
        head += cell(html(title), "th");
    QString body;
    for (const std::vector<std::string>& row : rows) {
        body += QStringLiteral("<tr>");
        for (std::size_t c = 0; c < kOverviewColumns; ++c)
            body += cell(html(c < row.size() ? row[c] : std::string()));
        body += QStringLiteral("</tr>");
    }
    return heading(ReportHeading::Modules) + gridTable(head + QStringLiteral("</tr>"), body);
}

std::string moduleName(const Station& station, int32_t address)
{
    return station.Module(address).name;
}

// The most findings a link's row lists. Links that are all alike would each
// find every link before them the same, tens of thousands of lines in all
// for a full table; the first few say what is wrong, and the rest is counted.
constexpr std::size_t kShownFindings = 3;

// The findings of link `n` as its row lists them: the first kShownFindings,
// one a line, and how many more there are.
QString findingsCell(const std::vector<LinkProblem>& ofLink, const std::vector<LinkRecord>& links, int32_t n)
{
    const std::size_t shown = std::min(ofLink.size(), kShownFindings);
    std::string lines = LinkProblemLines({ofLink.begin(), ofLink.begin() + static_cast<std::ptrdiff_t>(shown)}, links, n);
    if (ofLink.size() > shown)
        lines += "\r" + ReportMoreFindingsText(static_cast<int64_t>(ofLink.size() - shown));
    return html(lines).replace(QLatin1Char('\r'), QStringLiteral("<br/>"));
}

QString linkSection(const Station& station, const std::vector<LinkRecord>& links)
{
    // Without the station's modules every link would be found to use a
    // module that is missing: the check says nothing then.
    const bool checked = station.ModulAnzahl > 0;
    const std::vector<LinkProblem> problems = checked ? CheckLinks(station, links) : std::vector<LinkProblem>();
    std::vector<std::vector<LinkProblem>> problemsOf(links.size() + 1);
    for (const LinkProblem& problem : problems) {
        if (problem.link >= 1 && static_cast<std::size_t>(problem.link) <= links.size())
            problemsOf[static_cast<std::size_t>(problem.link)].push_back(problem);
    }
    const QString span = QStringLiteral("<th colspan=\"%1\">%2</th>");
    QString head = QStringLiteral("<tr><th></th>")
                   + span.arg(5).arg(MainWindowText(kTextSource, "Quelle").toHtmlEscaped())
                   + span.arg(4).arg(MainWindowText(kTextTarget, "Ziel").toHtmlEscaped())
                   + QStringLiteral("<th></th>") + (checked ? QStringLiteral("<th></th>") : QString())
                   + QStringLiteral("</tr><tr>");
    const auto widthHeading = [](std::size_t column, const std::string& text) {
        return QStringLiteral("<th width=\"%1%\">%2</th>").arg(kLinkColumnWidths[column]).arg(html(text));
    };
    head += widthHeading(0, ReportWord(ReportLabel::Number));
    for (std::size_t c = 0; c < kLinkHeadingLines.size(); ++c)
        head += widthHeading(c + 1, MainWindowTableLine(kTextTable, kLinkHeadingLines[c]));
    if (checked)
        head += cell(html(ReportWord(ReportHeading::Check)), "th");
    head += QStringLiteral("</tr>");

    QString body;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const LinkRecord& link = links[i];
        const auto number = static_cast<int32_t>(i + 1);
        const std::array<std::string, 11> cells{
            IntToText(number),       std::to_string(static_cast<int64_t>(link.ModulQ) + 1),
            moduleName(station, link.ModulQ), IntToText(link.RegVon), IntToText(link.BitVon), IntToText(link.AnzBit),
            std::to_string(static_cast<int64_t>(link.ModulZ) + 1), moduleName(station, link.ModulZ),
            IntToText(link.RegZ),    IntToText(link.BitZ),   link.deaktiv == 0 ? "A" : "D"};
        body += QStringLiteral("<tr>");
        for (const std::string& text : cells)
            body += cell(html(text));
        if (checked)
            body += cell(findingsCell(problemsOf[i + 1], links, number));
        body += QStringLiteral("</tr>");
    }
    const QString verdict = !checked ? paragraph(ReportStatement::NotChecked)
                            : problems.empty() ? paragraph(ReportStatement::NothingFound)
                                               : QString();
    return heading(ReportHeading::Links) + verdict + gridTable(head, body);
}

QString comparisonSection(const ServiceReportFacts& facts, const std::vector<LinkRecord>& links)
{
    const QString title = heading(ReportHeading::Comparison);
    if (!facts.deviceLinks)
        return title + paragraph(ReportStatement::DeviceUnknown);
    const LinkDiff diff = DiffLinks(links, *facts.deviceLinks);
    if (diff.differing == 0)
        return title + paragraph(ReportStatement::Matches);
    QString lines = html(LinkDiffLegend());
    for (const std::string& line : diff.lines)
        lines += QLatin1Char('\n') + html(line);
    return title + paragraph(ReportStatement::Differences) + QStringLiteral("<pre>%1</pre>").arg(lines);
}

QString lastWriteSection(const ServiceReportFacts& facts)
{
    const QString title = heading(ReportHeading::LastWrite);
    if (!facts.lastWrite)
        return title + paragraph(ReportStatement::NothingWritten);
    const LastLinkWrite& write = *facts.lastWrite;
    const ReportStatement verified = !write.answered  ? ReportStatement::NotAnswered
                                     : !write.readBack ? ReportStatement::NotReadBack
                                     : write.verified  ? ReportStatement::Verified
                                                       : ReportStatement::ReadBackDiffers;
    const QString counts = QStringLiteral("%1 (%2 %3, %4 %5)")
                               .arg(write.links)
                               .arg(write.active)
                               .arg(MainWindowText(kTextActive, "aktiv").toHtmlEscaped())
                               .arg(write.inactive)
                               .arg(MainWindowText(kTextInactive, "inaktiv").toHtmlEscaped());
    const std::string snapshot =
        write.snapshotFile.empty() ? ReportWord(ReportStatement::None) : fileNameToAnsi(write.snapshotFile);
    const QString when = write.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return title + QStringLiteral("<table>%1%2%3%4</table>")
                       .arg(labelRow(ReportLabel::WriteTime, when),
                            labelRow(ReportLabel::WriteLinks, counts),
                            labelRow(ReportLabel::WriteVerified, html(ReportWord(verified))),
                            labelRow(ReportLabel::Snapshot, html(snapshot)));
}

} // namespace

std::optional<StationIdentity> ReportedStation(const Station& station)
{
    // The one read, else the one the links name.
    return station.OverviewOrigin ? station.OverviewOrigin : station.LinkTableOrigin;
}

QString ServiceReportHtml(const ServiceReportFacts& facts)
{
    const std::vector<LinkRecord> links = facts.station.CurrentLinks();
    return QStringLiteral("<html><head><style>%1</style></head><body>").arg(QLatin1String(kStyle))
           + titleBlock(facts) + overviewSection(facts) + linkSection(facts.station, links) + comparisonSection(facts, links)
           + lastWriteSection(facts) + QStringLiteral("</body></html>");
}
