#include "comm/ComPortMap.h"

#include "io/IniBytes.h"
#include "io/SettingsFile.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <vector>

namespace {

constexpr const char* PortSection = "Schnittstellen";

std::vector<std::string> g_overriddenPorts;

// True when the settings file maps ports by hand; `path` gets the entry for
// `key`, empty when the section lacks it.
bool mappedBySettings(const std::string& key, std::string& path)
{
    // The guarded reader: a FIFO or a huge file in place of the settings
    // file must not hold up the start.
    const auto ini = LoadIniFile(settingsFilePath());
    if (ini->GetSection(PortSection) == nullptr)
        return false;
    path = ini->GetValue(PortSection, key.c_str(), "");
    return true;
}

std::string systemPortPath(int32_t port)
{
    std::vector<std::string> paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths.push_back(info.systemLocation().toStdString());
    std::sort(paths.begin(), paths.end());
    if (static_cast<size_t>(port) > paths.size())
        return {};
    return paths[static_cast<size_t>(port) - 1];
}

} // namespace

std::string comPortPath(int32_t port)
{
    if (port < 1 || port > MaxComPort)
        return {};
    if (!g_overriddenPorts.empty())
        return static_cast<size_t>(port) <= g_overriddenPorts.size() ? g_overriddenPorts[static_cast<size_t>(port) - 1]
                                                                     : std::string();
    std::string path;
    if (mappedBySettings("COM" + std::to_string(port), path))
        return path;
    return systemPortPath(port);
}

void OverrideComPorts(std::vector<std::string> paths)
{
    g_overriddenPorts = std::move(paths);
}
