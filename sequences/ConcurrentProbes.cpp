#include "sequences/ConcurrentProbes.h"

#include <chrono>
#include <filesystem>
#include <map>

namespace {

// How often a waiting taker is called back, so that a window can repaint.
constexpr std::chrono::milliseconds kWaitSlice{20};

std::size_t slot(int32_t port)
{
    return static_cast<std::size_t>(port) - 1;
}

// The ports with a path, those that lead to the same line together, in port
// order: a device file by the file its name resolves to (a name under
// /dev/serial/by-id and the ttyUSB it points to are one line), a network
// port by its address.
std::vector<std::vector<int32_t>> portsByLine(const std::array<std::string, MaxComPort>& paths)
{
    std::map<std::string, std::vector<int32_t>> ports;
    std::vector<std::string> order;
    for (int32_t port = 1; port <= MaxComPort; ++port) {
        const std::string& path = paths[slot(port)];
        if (path.empty())
            continue;
        std::error_code noFile;
        std::string line = std::filesystem::canonical(path, noFile).string();
        if (noFile)
            line = path;
        std::vector<int32_t>& group = ports[line];
        if (group.empty())
            order.push_back(line);
        group.push_back(port);
    }
    std::vector<std::vector<int32_t>> groups;
    for (const std::string& line : order)
        groups.push_back(std::move(ports[line]));
    return groups;
}

} // namespace

ConcurrentProbes::ConcurrentProbes(const std::array<std::string, MaxComPort>& paths, const ProbeSettings& settings)
    : m_paths(paths)
    , m_settings(settings)
{
    // Ports of one line are probed one after another, as a search port by
    // port does, so that the highest of them still wins: probed at once,
    // all but one would find the line locked.
    for (const std::vector<int32_t>& ports : portsByLine(m_paths)) {
        std::unique_ptr<QThread> thread(QThread::create([this, ports] {
            for (const int32_t port : ports)
                finish(port, ProbePort(port, path(port), m_settings));
        }));
        thread->start();
        // Without a thread to be had, these ports are probed when their turn comes.
        const bool started = thread->isRunning() || thread->isFinished();
        for (const int32_t port : ports)
            m_started[slot(port)] = started;
        m_threads.push_back(std::move(thread));
    }
}

ConcurrentProbes::~ConcurrentProbes()
{
    for (const std::unique_ptr<QThread>& thread : m_threads)
        thread->wait();
}

const std::string& ConcurrentProbes::path(int32_t port) const
{
    return m_paths[slot(port)];
}

void ConcurrentProbes::finish(int32_t port, PortProbe probe)
{
    const std::lock_guard lock(m_mutex);
    m_done[slot(port)] = std::move(probe);
    m_finished.notify_all();
}

PortProbe ConcurrentProbes::take(int32_t port, const std::function<void()>& waiting)
{
    if (!m_started[slot(port)])
        return ProbePort(port, path(port), m_settings);
    std::unique_lock lock(m_mutex);
    std::optional<PortProbe>& done = m_done[slot(port)];
    while (!done) {
        lock.unlock();
        waiting();
        lock.lock();
        m_finished.wait_for(lock, kWaitSlice, [&done] { return done.has_value(); });
    }
    return std::move(*done);
}
