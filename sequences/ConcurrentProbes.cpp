#include "sequences/ConcurrentProbes.h"

#include <chrono>

namespace {

// How often a waiting taker is called back, so that a window can repaint.
constexpr std::chrono::milliseconds kWaitSlice{20};

std::size_t slot(int32_t port)
{
    return static_cast<std::size_t>(port) - 1;
}

} // namespace

ConcurrentProbes::ConcurrentProbes(const std::array<std::string, MaxComPort>& paths, const ProbeSettings& settings)
    : m_paths(paths)
    , m_settings(settings)
{
    for (int32_t port = 1; port <= MaxComPort; ++port) {
        if (path(port).empty())
            continue;
        std::unique_ptr<QThread> thread(
            QThread::create([this, port] { finish(port, ProbePort(port, path(port), m_settings)); }));
        thread->start();
        // Without a thread to be had, this port is probed when its turn comes.
        m_started[slot(port)] = thread->isRunning() || thread->isFinished();
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
