#pragma once

// The words of the service report in the active language (Windows-1252),
// from its lists in the language file: each list is one message, its words
// split by "|".

#include "model/StationIdentity.h"

#include <cstdint>
#include <string>

enum class ReportHeading { Title, Modules, Links, Comparison, LastWrite, Check };
enum class ReportLabel {
    Made, Serial, Address, DeviceType, ReadOver, LinkFile, FileStation,
    WriteTime, WriteLinks, WriteVerified, Snapshot, Number
};
enum class ReportStatement {
    Matches, DeviceUnknown, NothingWritten, Verified, ReadBackDiffers, NotReadBack, NotAnswered,
    None, Unknown, NotChecked, NothingFound, Differences
};

std::string ReportWord(ReportHeading heading);
std::string ReportWord(ReportLabel label);
std::string ReportWord(ReportStatement statement);
// "Seite 2 von 5".
std::string ReportPageText(int page, int pages);
// "... und 12 weitere Befunde": the findings of a link left unlisted.
std::string ReportMoreFindingsText(int64_t count);
// "Seriennummer 4242, QMX-Adresse 30".
std::string ReportStationText(const StationIdentity& station);
