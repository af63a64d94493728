#pragma once

#include "transports/ComPortMap.h"
#include "sequences/PortProbe.h"

#include <QThread>

#include <array>
#include <memory>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The probes of COM1..COM16 at once: each line on a thread of its own, from
// construction on; COM numbers that lead to the same line one after another
// there. Their results are taken in port
// order, on the thread that made this object, as each becomes ready.
class ConcurrentProbes {
public:
    ConcurrentProbes(const std::array<std::string, MaxComPort>& paths, const ProbeSettings& settings);
    // Waits for the probes still running.
    ~ConcurrentProbes();
    ConcurrentProbes(const ConcurrentProbes&) = delete;
    ConcurrentProbes& operator=(const ConcurrentProbes&) = delete;

    // The probe of `port` once it is done, calling `waiting` about every
    // 20 ms until then. A port without a thread of its own (no device file,
    // or none to be had) is probed here and now.
    PortProbe take(int32_t port, const std::function<void()>& waiting);

private:
    const std::string& path(int32_t port) const;
    void finish(int32_t port, PortProbe probe);

    const std::array<std::string, MaxComPort> m_paths;
    const ProbeSettings m_settings;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::array<std::optional<PortProbe>, MaxComPort> m_done;
    std::array<bool, MaxComPort> m_started{};
    // QThreads, not bare ones: a serial port wants to live in a thread Qt knows.
    std::vector<std::unique_ptr<QThread>> m_threads;
};
