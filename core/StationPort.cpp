#include "core/StationPort.h"

#include "diag/ArgumentBytes.h"
#include "transports/ComPortMap.h"
#include "transports/PortAddress.h"
#include "transports/LineFactory.h"

#include <filesystem>

namespace {

// The COM number the port table gives the device file `path` (under any of
// its names), 0 when none does.
int32_t comNumberOf(const std::string& path)
{
    const auto paths = comPortPaths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::error_code error;
        if (!paths[i].empty() && (paths[i] == path || std::filesystem::equivalent(paths[i], path, error)))
            return static_cast<int32_t>(i) + 1;
    }
    return 0;
}

} // namespace

std::optional<PortText> ParsePortText(const QString& text, QString* problem)
{
    if (IsNetworkPort(text.toStdString())) {
        const PortAddress address = ParsePortAddress(text.toStdString());
        if (!address.valid()) {
            if (problem != nullptr)
                *problem = QStringLiteral("--port %1: %2").arg(text, QString::fromStdString(address.error));
            return std::nullopt;
        }
        return PortText{0, address.text};
    }
    if (text.contains(QLatin1Char('/')))
        return PortText{0, ArgumentBytes(text)};
    QString number = text;
    if (number.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        number = number.mid(3);
    bool ok = false;
    const int port = number.toInt(&ok);
    if (!ok || port < 1 || port > MaxComPort)
        return std::nullopt;
    return PortText{port, {}};
}

StationPort ResolveStationPort(int32_t number, const std::string& path)
{
    if (path.empty())
        return {number, number, comPortPath(number)};
    const int32_t label = comNumberOf(path);
    return {label != 0 ? label : 1, label, path};
}

std::unique_ptr<Line> StationPortLines::Make(const std::string& path) const
{
    return SystemLines().Make(path);
}
