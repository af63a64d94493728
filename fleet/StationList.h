#pragma once

// The station list of a fleet's backup (`kalmoria-cli backup --stations FILE`): one port per
// line, as --port takes it. Blanks around a port, blank lines and comments
// (from a "#" at the start of a line or after a blank to the line's end) are
// left out; LF and CR LF line ends are both read, and so is a list that
// starts with the UTF-8 byte-order mark Windows editors write.

#include <QStringList>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct StationListLoad {
    enum class Outcome {
        Read,        // `ports` holds every port of the list, in its order
        Unreadable,  // the file cannot be read: `reason`
        NoPort,      // line `line` is not a port as --port takes it: `text`
        Interrupted, // the wait for the list's bytes was given up
    };
    Outcome outcome = Outcome::Unreadable;
    QStringList ports; // each as ArgumentText makes it of the line's bytes
    std::string reason; // the system's words
    int line = 0;       // 1 = the first line
    std::string text;   // the line's port, as bytes of the file
};

// A station list larger than this is no station list.
inline constexpr long kMaxStationListBytes = 1024 * 1024;

// The list in the file `path`, which may be a pipe: its bytes are waited
// for until its writer closes it, unless `stopped` says yes first (it is
// asked every few milliseconds while the list is waited for).
StationListLoad LoadStationList(const std::string& path, const std::function<bool()>& stopped = {});
// The list in `bytes`, as LoadStationList reads a file's.
StationListLoad ParseStationList(std::string_view bytes);

// The same stations once each, in the order of their first mention: ports
// that reach one device (fleet/PortIdentity.h) are one station.
QStringList DistinctPorts(const QStringList& ports);

struct FleetStation;
// The stations of a backup of `ports` (each a port --port takes), once each,
// each port resolved to where it leads.
std::vector<FleetStation> FleetStations(const QStringList& ports);
