#pragma once

#include "sequences/DeviceConfiguration.h"
#include "protocol/FrameTap.h"
#include "transports/PortAccess.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// How the probes talk: the settings of the client the search replaces.
struct ProbeSettings {
    int32_t baud = 9600;
    char parity = 'n';
    bool fastReplyEnd = false;
    int32_t retries = 0;
    FrameTap* frameTap = nullptr; // where the probes' frames go
};

// What the automatic search learnt at one port.
struct PortProbe {
    int32_t port = 0;
    bool opened = false;
    PortOpenProblem openProblem;     // when it did not open
    DeviceConfiguration configuration; // when it opened
    // The configuration registers as they came, when the device answered.
    std::array<uint16_t, DeviceRegisters::ConfigurationCount> words{};
    int64_t replyMs = 0; // how long the configuration read took, repeats included
    // What the probe had to log, in order, for the search to write when the
    // ports before it are written.
    std::vector<std::string> log;
};

// Opens COM `port` at `path` on a protocol client of its own, asks for the
// configuration and closes again. It touches no shared state: neither the
// transfer buffers nor the device values nor the log (its lines are kept in
// the result), so probes of several ports may run at once, each on its own
// thread. A silent port is not asked twice: silence is its answer.
PortProbe ProbePort(int32_t port, const std::string& path, const ProbeSettings& settings);
