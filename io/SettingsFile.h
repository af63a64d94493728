#pragma once

#include <string>

// Full path of the settings file "Kalmoria.ini": $XDG_CONFIG_HOME/Kalmoria.ini,
// or ~/.config/Kalmoria.ini when that variable is unset. Tests point
// XDG_CONFIG_HOME at a scratch folder.
std::string settingsFilePath(const std::string& bareName = "Kalmoria.ini");
