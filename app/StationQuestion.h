#pragma once

#include <cstdint>
#include <span>

struct StationCheck;

// Asks whether the links go to a device that is not their station or lacks
// modules they use; No is the default. True when the user said Yes, or when
// the device is the links' station and lacks only modules the user already
// agreed to (`modulesAgreedMissing`, ascending): one question is enough.
bool AskWriteToOtherStation(const StationCheck& check, std::span<const int32_t> modulesAgreedMissing = {});
