#pragma once

#include "diag/Result.h"

#include <cstdint>

class SequenceObserver;
struct ModuleModel;
struct Station;
class Tvep;

struct DeviceReadResult : Result {
    int32_t modules = 0; // ModulAnzahl at the end
    int32_t links = 0;   // AnzBefehle at the end
};

// Reads the complete picture of the connected central device into the model:
// which addresses are occupied, the device's configuration, the module names
// and station data, and the link table. Keeps what was read so far when a
// step fails, and says what failed in the result; the port is closed at the
// end, before anyone shows the result.
DeviceReadResult ReadDevice(Tvep& vep, Station& station, SequenceObserver& view);

// Reads and decodes the station data of module address a (0..64). On a failed
// transfer marks the data incomplete (DataState 1) and returns the transfer's
// result code.
int32_t GetStationCom(Tvep& vep, Station& station, int32_t address);
void ClearModule(ModuleModel& modules, int32_t address);
