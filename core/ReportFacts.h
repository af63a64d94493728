#pragma once

// What a service report says of a station beside the station itself: where
// it was read, from which link file its links are, what the device held and
// what was last written. Both front ends gather them here.

#include "core/LastLinkWrite.h"
#include "model/LinkFile.h"
#include "model/Station.h"

#include <QDateTime>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class StationClient;

struct ServiceReportFacts {
    Station station; // as it stands when the report is asked for
    QDateTime made = QDateTime::currentDateTime();
    std::string port;     // the port the station was read over, with its adapter; empty: not read
    std::string linkFile; // the link file reported (Windows-1252); empty: none
    // The overview a link file keeps, for a file reported without its station.
    OverviewRows fileOverview;
    // The device's links as last seen (read, compared or written); none: not known.
    std::optional<std::vector<LinkRecord>> deviceLinks;
    std::optional<LastLinkWrite> lastWrite;
};

// The facts of `client`'s station now. The port is named only when the
// overview is of a station read over it, under COM `portLabel` (0: by its
// path alone); the link file only while the table holds what was last loaded
// from or saved to it: after a read the links are the station's.
ServiceReportFacts GatherReportFacts(const StationClient& client, int32_t portLabel);

// The port as a front end names it ("COM3 (/dev/ttyUSB0)"), with the kind of
// USB adapter behind `devicePath` where the system knows it ("..., FTDI").
std::string PortWithAdapter(const std::string& portName, const std::string& devicePath);
