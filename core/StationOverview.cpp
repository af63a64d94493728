#include "core/StationOverview.h"

#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"

namespace {

// The main window's hidden text table that holds the overview headings.
constexpr const char* kMainWindowSection = "F_Kalmoria_main";
constexpr int kMainWindowTextTable = 91;

} // namespace

std::string MainWindowTableLine(int table, int line)
{
    const std::string section = TextSection();
    SetTextSection(kMainWindowSection);
    std::string text = GetText(table, "-" + IntToText(line));
    SetTextSection(section);
    return text;
}

OverviewRow OverviewHeadings()
{
    OverviewRow headings;
    for (std::size_t c = 0; c < headings.size(); ++c)
        headings[c] = MainWindowTableLine(kMainWindowTextTable, kOverviewHeadingLines[c]);
    return headings;
}

OverviewRows OverviewForLinkFile(const Station& station)
{
    return OverviewForLinkFile(station, OverviewHeadings());
}

OverviewRows OverviewForLinkFile(const Station& station, const OverviewRow& headings)
{
    OverviewRows overview{{headings.begin(), headings.end()}};
    for (const OverviewRow& row : ModuleOverviewRows(station))
        overview.emplace_back(row.begin(), row.end());
    return overview;
}
