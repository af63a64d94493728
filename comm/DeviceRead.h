#pragma once

#include <cstdint>

class ShellView;
class Tvep;

// Reads the complete picture of the connected central device into the model:
// which addresses are occupied, the device's configuration, the module names
// and station data, and the link table. Shows what failed as a numbered
// message and keeps what was read so far; the port is closed at the end.
void ReadDevice(Tvep& vep, ShellView& view);

// Reads and decodes the station data of module address a (0..64). On a failed
// transfer shows message 13 and marks the data incomplete (DataState 1).
void GetStationCom(Tvep& vep, int32_t address);
void ClearModule(int32_t address);
