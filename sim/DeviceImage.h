#pragma once

// A device image: an INI file describing one central device (configuration,
// modules, links) from which the simulator builds its registers. The format
// is documented in the README, section "The simulated device (qmx-sim)".

#include "sim/RegisterMap.h"

#include <string>
#include <string_view>

namespace qmxsim {

// Fills `map` (a fresh RegisterMap) from the image text. On a mistake in the
// image returns false and names the section, key and problem in `error`: a
// test device that silently differs from what its author wrote is worse than
// none.
bool LoadDeviceImage(std::string_view iniText, RegisterMap& map, std::string& error);
bool LoadDeviceImageFile(const std::string& path, RegisterMap& map, std::string& error);

// The name an unnamed module slot carries: "Modul-Adresse:" and the address in two digits.
std::string DefaultModuleName(int address);

// A name as the device stores it: Windows-1252 bytes, blank-padded to 16.
// Text that is valid UTF-8 is converted; anything else is taken as
// Windows-1252 already. False when the name is longer than 16 characters.
bool EncodeModuleName(std::string_view text, std::string& bytes);

} // namespace qmxsim
