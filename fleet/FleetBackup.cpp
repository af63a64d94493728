#include "fleet/FleetBackup.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

namespace {

constexpr auto kStopPoll = std::chrono::milliseconds(50);

// The results the readers hand to the reporting thread.
class Results {
public:
    void Put(std::size_t index, StationBackupResult result)
    {
        {
            const std::lock_guard lock(m_lock);
            m_ready.emplace_back(index, std::move(result));
        }
        m_arrived.notify_one();
    }

    // The results that came, waiting up to `wait` for the first.
    std::deque<std::pair<std::size_t, StationBackupResult>> Take(std::chrono::milliseconds wait)
    {
        std::unique_lock lock(m_lock);
        m_arrived.wait_for(lock, wait, [this] { return !m_ready.empty(); });
        return std::exchange(m_ready, {});
    }

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::deque<std::pair<std::size_t, StationBackupResult>> m_ready;
};

} // namespace

FleetBackup::FleetBackup(BackupSettings settings, std::vector<FleetStation> stations, int jobs)
    : m_folder(std::move(settings))
    , m_stations(std::move(stations))
    , m_jobs(std::clamp(jobs < 1 ? kMaxJobs : jobs, 1, kMaxJobs))
{
}

bool FleetBackup::Run(const std::function<bool()>& stopRequested,
                      const std::function<void(std::size_t index, const StationBackupResult&)>& report)
{
    std::atomic<bool> stop = stopRequested();
    std::atomic<std::size_t> next = 0;
    Results results;
    const auto reader = [&] {
        for (std::size_t index = next++; index < m_stations.size(); index = next++) {
            results.Put(index, stop ? InterruptedStation(m_stations[index].given)
                                    : BackUpStation(m_stations[index], index, m_folder, stop));
        }
    };
    // Qt's threads: a serial port watches its line with the thread's event
    // dispatcher, which a thread of the standard library lacks.
    std::vector<std::unique_ptr<QThread>> readers;
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(m_jobs), m_stations.size());
    for (std::size_t t = 0; t < threads; ++t) {
        readers.emplace_back(QThread::create(reader));
        readers.back()->start();
    }

    std::size_t reported = 0;
    while (reported < m_stations.size()) {
        for (auto& [index, result] : results.Take(kStopPoll)) {
            report(index, result);
            ++reported;
        }
        if (!stop && stopRequested())
            stop = true;
    }
    for (const std::unique_ptr<QThread>& thread : readers)
        thread->wait();
    return stop;
}
