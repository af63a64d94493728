#pragma once

#include "transports/Line.h"

// The lines of this system: COM numbers as the port table maps them
// (ComPortMap.h), a TCP line for "tcp://", an RFC 2217 line for
// "rfc2217://", the serial object for anything else (see PortAddress.h).
const LineFactory& SystemLines();
