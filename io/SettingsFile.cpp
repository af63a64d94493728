#include "io/SettingsFile.h"

#include <cstdlib>

std::string settingsFilePath(const std::string& bareName)
{
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : ".") + "/.config";
    }
    if (folder.back() != '/')
        folder += '/';
    return folder + bareName;
}
