#pragma once

#include "transports/PortHolders.h"

#include <optional>
#include <string>

// Why a port would not open, told in terms the user can act on. For a serial
// device file the system reports a device file locked away from this user
// and a line held by another program alike (Qt calls both a permission
// error); the device file's own access rights tell the two apart. A network
// port (PortAddress.h) fails on its address or on its connection.
struct PortOpenProblem {
    enum class Cause {
        None,         // the port opened, or it has not been tried
        Unknown,      // absent, unmapped, or a failure the system does not explain
        AccessDenied, // this user may not read and write the device file, its group may
        InUse,        // another program holds the line
        BadAddress,   // a network address that cannot be used ("tcp://host" without a port)
        NoConnection, // the serial device server was not reached, refused, or ended the session
    };
    Cause cause = Cause::None;
    std::string path;  // the device file, e.g. "/dev/ttyUSB0", or the network address as given
    std::string group; // with AccessDenied: the group to join, the one that owns the device file
    std::string reason; // the system's own words for the failure ("No such file or directory")
    std::optional<PortHolder> holder; // with InUse: the other program, when it can be found
    std::string server; // with NoConnection: the server, as "10.0.0.7:4001"
};
