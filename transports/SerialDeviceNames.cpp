#include "transports/SerialDeviceNames.h"

#include <filesystem>
#include <set>

std::string StableDeviceName(const std::string& devicePath, const std::string& byIdFolder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (devicePath.empty())
        return {};
    const fs::path device = fs::canonical(devicePath, error);
    if (error)
        return {};
    // The first in name order, so the same adapter always shows the same name.
    std::set<std::string> names;
    // Adapters come and go while we look: no step here may throw.
    for (fs::directory_iterator it(byIdFolder, error), end; !error && it != end; it.increment(error)) {
        std::error_code linkError;
        const fs::path target = fs::canonical(it->path(), linkError);
        if (!linkError && target == device)
            names.insert(it->path().filename().string());
    }
    return names.empty() ? std::string() : *names.begin();
}
