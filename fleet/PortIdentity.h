#pragma once

// Which device a port of kalmoria-cli reaches, so that one station named
// twice in a backup, by two of its names, is read once: "3", "COM3" and the
// device path Kalmoria.ini maps COM3 to; /dev/serial/by-id/... and the
// /dev/ttyUSB0 it links to; tcp:// and rfc2217:// to one server port, with
// the host in any case. A host name and its address stay two names: telling
// them apart would cost a name lookup for every station.

#include "transports/ComPortMap.h"

#include <QString>

#include <array>
#include <string>

using ComPortTable = std::array<std::string, MaxComPort>;

// A key that two ports reaching the same device share, and two ports
// reaching different devices do not. `port` is a port as --port takes it;
// `comPorts` the COM port table in force (comPortPaths()), read once for
// many ports.
std::string PortIdentity(const QString& port, const ComPortTable& comPorts);
