#include "report/ReportTexts.h"

#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"

#include <vector>

namespace {

// Word `index` of the list in message `n`; "@n-index" where the file lacks it,
// as a caption without its text shows its number.
std::string listWord(int n, int index)
{
    const std::string list = GetMessageText(n, {}, -1);
    std::size_t from = 0;
    for (int i = 0; i < index && from != std::string::npos; ++i) {
        from = list.find('|', from);
        if (from != std::string::npos)
            ++from;
    }
    if (from == std::string::npos || list.starts_with("@"))
        return "@" + std::to_string(n) + "-" + std::to_string(index);
    return list.substr(from, list.find('|', from) - from);
}

} // namespace

std::string ReportWord(ReportHeading heading)
{
    return listWord(kMessageReportHeadings, static_cast<int>(heading));
}

std::string ReportWord(ReportLabel label)
{
    return listWord(kMessageReportLabels, static_cast<int>(label));
}

std::string ReportWord(ReportStatement statement)
{
    return listWord(kMessageReportStatements, static_cast<int>(statement));
}

std::string ReportPageText(int page, int pages)
{
    return GetMessageText(kMessageReportPage, {std::to_string(page), std::to_string(pages)}, 1);
}

std::string ReportMoreFindingsText(int64_t count)
{
    return GetMessageText(kMessageReportMoreFindings, {std::to_string(count)}, 0);
}

std::string ReportStationText(const StationIdentity& station)
{
    return ReportWord(ReportLabel::Serial) + " " + IntToText(station.serialNumber) + ", "
           + ReportWord(ReportLabel::Address) + " " + IntToText(station.address);
}

