#include "model/DeviceValues.h"

uint16_t DeviceType = 0;
uint16_t SerialNumber = 0;
int32_t DeviceAddress = 0;
std::string StartDirectory;
std::string LinkFileName;
std::string DefaultMessageArgument;
std::optional<StationIdentity> LinkTableOrigin;
std::optional<StationIdentity> OverviewOrigin;
