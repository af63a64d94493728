#pragma once

#include "diag/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class SequenceObserver;
class Tvep;
struct LinkTableModel;
struct PortSettings;
struct Station;

// A link the device cannot hold as it is.
struct LinkWriteObstacle {
    int32_t linkNumber = 0;
    std::string reason; // e.g. "ModulQ=130 (0..127)"
};

// The first link with a field outside the device form, if any.
std::optional<LinkWriteObstacle> FindLinkWriteObstacle(const LinkTableModel& links);

// Why the table may not be written now, if it may not: the data are
// incomplete (DataState above 0), or the table does not fit the device.
std::optional<Notice> LinkWriteRefusal(const Station& station);

struct LinkWriteResult : Result {
    bool sent = false; // the write transfer was made, whatever came back
    int32_t links = 0;
    int32_t active = 0;
    int32_t inactive = 0;
};

// The steps of a write, for the writes built on them. Each returns false,
// with the outcome and what to tell in `result`, where the write must stop:
// the write is refused; the port would not open; on the open port, the
// transfer of every link and the end slot failed.
bool RefuseLinkWrite(const Station& station, LinkWriteResult& result);
bool OpenPortForWrite(Tvep& vep, const PortSettings& port, LinkWriteResult& result);
bool SendLinks(Tvep& vep, Station& station, LinkWriteResult& result);
// The counts of a write as its messages name them: all, active, inactive.
std::vector<std::string> LinkCountArguments(const LinkWriteResult& result);

// Sends every link and the end slot to the device's link area in one
// transfer and reports the counts. Refused as LinkWriteRefusal says; then
// nothing is sent. `view`, when given, shows the transfer's progress.
LinkWriteResult WriteLinksToDevice(Tvep& vep, Station& station, SequenceObserver* view = nullptr);
