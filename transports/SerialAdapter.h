#pragma once

#include <optional>
#include <string>

// What the system knows about the adapter behind a serial device file,
// from sysfs and the udev database.
struct SerialAdapter {
    std::string vendorId; // USB vendor id, four hex digits; empty for a port that is not on USB
    std::string kind;     // "CH340", "CP210x" or "FTDI" for the usual adapters, else empty
    // FTDI adapters hold each reply back this long (ms) before passing it on.
    std::optional<int> latencyTimerMs;
    // The udev rules tell ModemManager to leave the port alone (ID_MM_DEVICE_IGNORE).
    bool ignoredByModemManager = false;
};

// The adapter behind `path`. The roots are those of the running system
// unless a test prepares its own.
SerialAdapter DescribeSerialAdapter(const std::string& path, const std::string& sysRoot = "/sys",
                                    const std::string& udevDataRoot = "/run/udev/data");
