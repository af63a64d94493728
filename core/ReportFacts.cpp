#include "core/ReportFacts.h"

#include "core/StationClient.h"
#include "diag/AnsiText.h"
#include "sequences/DeviceNotices.h"
#include "transports/ComPortMap.h"
#include "transports/PortAddress.h"
#include "transports/SerialAdapter.h"

ServiceReportFacts GatherReportFacts(const StationClient& client, int32_t portLabel)
{
    ServiceReportFacts facts;
    facts.station = client.State();
    const Station& station = facts.station;
    if (station.OverviewOrigin) {
        const std::string path = comPortPath(station.ComPortNr);
        facts.port = PortWithAdapter(PortName(portLabel, path), path);
    }
    if (const std::string file = LastKeptLinks(station).linkFile; !file.empty())
        facts.linkFile = fileNameToAnsi(file);
    facts.deviceLinks = client.DeviceLinks();
    facts.lastWrite = client.LastWrite();
    return facts;
}

std::string PortWithAdapter(const std::string& portName, const std::string& devicePath)
{
    if (devicePath.empty() || IsNetworkPort(devicePath))
        return portName;
    const std::string kind = DescribeSerialAdapter(devicePath).kind;
    return kind.empty() ? portName : portName + ", " + kind;
}
