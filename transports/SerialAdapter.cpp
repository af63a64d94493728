#include "transports/SerialAdapter.h"

#include <array>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

namespace {

struct KnownKind {
    const char* vendorId;
    const char* kind;
};

// Adapters found in the field; brltty's rules claim chips of all three.
constexpr std::array<KnownKind, 3> kKnownKinds{{{"1a86", "CH340"}, {"10c4", "CP210x"}, {"0403", "FTDI"}}};

std::string firstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// The USB device folder above the tty's device: the first with an idVendor.
std::string usbVendor(const fs::path& ttyDevice)
{
    std::error_code error;
    fs::path folder = fs::canonical(ttyDevice, error);
    for (; !error && !folder.empty() && folder != folder.root_path(); folder = folder.parent_path()) {
        if (fs::exists(folder / "idVendor", error))
            return firstLine(folder / "idVendor");
    }
    return {};
}

} // namespace

SerialAdapter DescribeSerialAdapter(const std::string& path, const std::string& sysRoot,
                                    const std::string& udevDataRoot)
{
    SerialAdapter adapter;
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    if (error)
        return adapter;
    const fs::path ttyDevice = fs::path(sysRoot) / "class/tty" / device.filename() / "device";
    adapter.vendorId = usbVendor(ttyDevice);
    for (const KnownKind& known : kKnownKinds) {
        if (adapter.vendorId == known.vendorId)
            adapter.kind = known.kind;
    }
    if (const std::string latency = firstLine(ttyDevice / "latency_timer"); !latency.empty()) {
        try {
            adapter.latencyTimerMs = std::stoi(latency);
        } catch (const std::exception&) {
        }
    }
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0 && S_ISCHR(info.st_mode)) {
        std::ifstream udev(fs::path(udevDataRoot)
                           / ("c" + std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev))));
        for (std::string line; std::getline(udev, line);)
            adapter.ignoredByModemManager = adapter.ignoredByModemManager || line == "E:ID_MM_DEVICE_IGNORE=1";
    }
    return adapter;
}
