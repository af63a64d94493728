#include "fleet/SharedSerials.h"

#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "fleet/StationBackup.h"
#include "sequences/DeviceNotices.h"

#include <filesystem>
#include <map>

std::vector<Notice> SharedSerialNotices(const std::vector<StationBackupResult>& results, const std::string& dir)
{
    std::map<uint16_t, std::vector<std::string>> portsBySerial;
    for (const StationBackupResult& result : results) {
        if (result.station)
            portsBySerial[result.station->serialNumber].push_back(result.port);
    }
    std::vector<Notice> notices;
    for (const auto& [serial, ports] : portsBySerial) {
        if (ports.size() < 2)
            continue;
        std::string named;
        for (const std::string& port : ports)
            named += (named.empty() ? "" : ", ") + fileNameToAnsi(port);
        const std::string folder = (std::filesystem::path(dir) / std::to_string(serial)).string();
        notices.push_back(DeviceNotice(kMessageSerialShared, Notice::Severity::Warning,
                                       {IntToText(serial), named, fileNameToAnsi(folder)}));
    }
    return notices;
}
