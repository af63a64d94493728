#include "fleet/FleetBackup.h"

#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "fleet/StationList.h"
#include "sequences/DeviceNotices.h"

#include <QThread>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

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

// Makes the folder when it is missing and tries a file in it: empty when
// it can be written, else the system's reason.
std::string folderProblem(const std::string& dir)
{
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return error.message();
    std::string probe = (std::filesystem::path(dir) / ".kalmoria-backup-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

// Whether the metrics file can be replaced at the end: empty when it can
// (or none is asked for), else why not.
std::string metricsFileProblem(const std::string& path)
{
    if (path.empty())
        return {};
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return std::strerror(EISDIR);
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folderProblem(folder.empty() ? "." : folder.string());
}

FleetPlan refused(Outcome outcome, int message, std::vector<std::string> arguments)
{
    FleetPlan plan;
    plan.outcome = outcome;
    plan.notices.push_back(DeviceNotice(message, Notice::Severity::Error, std::move(arguments)));
    return plan;
}

} // namespace

FleetPlan PlanFleetBackup(const BackupSettings& settings, const std::string& metricsFile, QStringList ports,
                          const std::string& stationList, const std::function<bool()>& stopRequested)
{
    constexpr auto unreadable = Outcome::FileUnreadable;
    constexpr auto notWritten = Outcome::FileNotWritten;
    if (!stationList.empty()) {
        const StationListLoad list = LoadStationList(stationList, stopRequested);
        const std::string file = fileNameToAnsi(stationList);
        switch (list.outcome) {
        case StationListLoad::Outcome::Unreadable:
            return refused(unreadable, kMessageStationListUnreadable, {file, list.reason});
        case StationListLoad::Outcome::NoPort:
            return refused(unreadable, kMessageStationListNoPort,
                           {file, IntToText(list.line), fileNameToAnsi(list.text)});
        case StationListLoad::Outcome::Interrupted:
            return refused(Outcome::Interrupted, kMessageStationListInterrupted, {file});
        case StationListLoad::Outcome::Read:
            break;
        }
        if (list.ports.isEmpty() && ports.isEmpty())
            return refused(unreadable, kMessageStationListEmpty, {file});
        ports += list.ports;
    }
    // Before any station is read: a folder that takes no file would cost
    // every station's read for nothing.
    if (const std::string problem = folderProblem(settings.dir); !problem.empty())
        return refused(notWritten, kMessageBackupFolderNotWritable, {fileNameToAnsi(settings.dir), problem});
    if (const std::string problem = settings.captureDir.empty() ? std::string() : folderProblem(settings.captureDir);
        !problem.empty())
        return refused(notWritten, kMessageCaptureNotWritten, {fileNameToAnsi(settings.captureDir), problem});
    if (const std::string problem = metricsFileProblem(metricsFile); !problem.empty())
        return refused(notWritten, kMessageMetricsNotWritten, {fileNameToAnsi(metricsFile), problem});
    FleetPlan plan;
    plan.stations = FleetStations(ports);
    return plan;
}

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
                                    : BackUpStation(m_stations[index], m_folder, stop));
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
