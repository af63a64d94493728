#include "transports/ComPortMap.h"

#include "io/IniBytes.h"
#include "io/SettingsFile.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <vector>

namespace {

constexpr const char* PortSection = "Schnittstellen";

std::vector<std::string> g_overriddenPorts;

std::vector<std::string> systemPortPaths()
{
    std::vector<std::string> paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths.push_back(info.systemLocation().toStdString());
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

std::array<std::string, MaxComPort> comPortPaths()
{
    std::array<std::string, MaxComPort> paths;
    if (!g_overriddenPorts.empty()) {
        std::copy_n(g_overriddenPorts.begin(), std::min(g_overriddenPorts.size(), paths.size()), paths.begin());
        return paths;
    }
    // The guarded reader: a FIFO or a huge file in place of the settings
    // file must not hold up the start.
    const auto ini = LoadIniFile(settingsFilePath());
    if (ini->GetSection(PortSection) != nullptr) {
        // The settings file maps ports by hand: a number without a key has no port.
        for (int32_t port = 1; port <= MaxComPort; ++port)
            paths[static_cast<size_t>(port) - 1] = ini->GetValue(PortSection, ("COM" + std::to_string(port)).c_str(), "");
        return paths;
    }
    const std::vector<std::string> system = systemPortPaths();
    std::copy_n(system.begin(), std::min(system.size(), paths.size()), paths.begin());
    return paths;
}

std::string comPortPath(int32_t port)
{
    if (port < 1 || port > MaxComPort)
        return {};
    return comPortPaths()[static_cast<size_t>(port) - 1];
}

ComPortSource comPortSource()
{
    if (LoadIniFile(settingsFilePath())->GetSection(PortSection) != nullptr)
        return {.fromSettings = true};
    return {.systemPorts = systemPortPaths().size()};
}

void OverrideComPorts(std::vector<std::string> paths)
{
    g_overriddenPorts = std::move(paths);
}
