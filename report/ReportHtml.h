#pragma once

// The service report's text as HTML for Qt's text layout: the title block,
// the module overview, the link table with the link check's findings, the
// comparison and the last write, from the model as it stands and `facts`.

#include "model/StationIdentity.h"
#include "report/ServiceReport.h"

#include <QString>

#include <optional>

struct Station;

QString ServiceReportHtml(const ServiceReportFacts& facts);

// The station the report is of: the one read, else the one the links name.
std::optional<StationIdentity> ReportedStation(const Station& station);
