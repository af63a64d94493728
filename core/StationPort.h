#pragma once

// A station's port as the user names it on the command line or in a station
// list: a COM number, or the path of a device file or a network port. The
// client that talks to the station opens a COM number, and messages and
// captures name the port by the number Kalmoria.ini gives it.

#include "transports/Line.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// A port as typed: a COM number, or the path of a device file or a network port.
struct PortText {
    int32_t number = 0; // 1 = COM1; 0: `path` names the port
    std::string path;   // bytes of the file system, or the network address as written
};

// "3", "COM3" or "com3" give COM 3; a text with a "/" is a device path or a
// network address (tcp://HOST:PORT, rfc2217://HOST:PORT), which must be one
// that can be used. None when `text` is no port, with why in `problem` where
// more is known than that.
std::optional<PortText> ParsePortText(const QString& text, QString* problem = nullptr);

struct StationPort {
    int32_t number = 1; // the COM number the client opens
    int32_t label = 1;  // the COM number shown; 0: a path that Kalmoria.ini gives no number
    std::string path;   // where the number leads
};

// The port of COM `number`, or of `path` when one is given: a path keeps the
// COM number Kalmoria.ini gives it (under any of its names), and one
// without is COM1 for the client, shown without a number.
StationPort ResolveStationPort(int32_t number, const std::string& path);

// The lines of one station: its COM number leads to its path, every other
// number to none. A fleet gives each station's client its own, so stations
// read side by side never share the process's port table.
class StationPortLines final : public LineFactory {
public:
    explicit StationPortLines(StationPort port)
        : m_port(std::move(port))
    {
    }
    std::string PathOf(int32_t port) const override { return port == m_port.number ? m_port.path : std::string(); }
    std::unique_ptr<Line> Make(const std::string& path) const override;

private:
    StationPort m_port;
};
