#pragma once

// Values of the connected central device and of the session, shared by the
// main window, the device sequences and the link file.

#include "model/StationIdentity.h"

#include <cstdint>
#include <optional>
#include <string>

extern uint16_t DeviceType;   // register 1506; 0x0900 is a QMX-620
extern uint16_t SerialNumber; // register 1508
extern int32_t DeviceAddress; // register 1516; module addresses are shown relative to it
// Working folder at start, where the file dialogs open: a path in the file
// system's own encoding, not a display text.
extern std::string StartDirectory;
extern std::string LinkFileName;
// The single argument of the numbered messages that take none of their own.
extern std::string DefaultMessageArgument;

// Whose links the link table holds: the station read last, or the one a link
// file names; none when that is not known (an older file, links made anew).
extern std::optional<StationIdentity> LinkTableOrigin;
// Whose modules the module overview shows: the station read last.
extern std::optional<StationIdentity> OverviewOrigin;
