#include "fleet/StationList.h"

#include "diag/ArgumentBytes.h"
#include "core/StationPort.h"
#include "fleet/PortIdentity.h"
#include "fleet/StationBackup.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <unistd.h>

namespace {

// How long one wait for more of the list lasts before it looks whether it
// should give way.
constexpr int kWaitSliceMs = 20;

// The whole file, or why not. A list may come through a pipe (a named one, or
// `--stations <(...)`) whose writer is slow to come or never finishes: the
// file is opened without waiting for a writer, and the bytes are waited for
// in short slices, after each of which `stopped` (when given) may end the
// wait. A pipe with no writer yet is waited for, as `cat` would.
StationListLoad::Outcome readAll(const std::string& path, const std::function<bool()>& stopped, std::string& bytes,
                                 std::string& reason)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        reason = std::strerror(errno);
        return StationListLoad::Outcome::Unreadable;
    }
    auto outcome = StationListLoad::Outcome::Read;
    char buffer[8192];
    for (;;) {
        if (stopped && stopped()) {
            outcome = StationListLoad::Outcome::Interrupted;
            break;
        }
        // A pipe without a writer reads as its end at once; only what poll
        // calls readable (bytes, or a writer gone) is read.
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, kWaitSliceMs);
        if (ready < 0 && errno != EINTR) {
            reason = std::strerror(errno);
            outcome = StationListLoad::Outcome::Unreadable;
            break;
        }
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0) {
            reason = std::strerror(errno);
            outcome = StationListLoad::Outcome::Unreadable;
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (static_cast<long>(bytes.size()) > kMaxStationListBytes) {
            reason = "larger than " + std::to_string(kMaxStationListBytes / 1024) + " KiB";
            outcome = StationListLoad::Outcome::Unreadable;
            break;
        }
    }
    ::close(fd);
    return outcome;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The port of one line: without its comment and the blanks around it.
std::string portOf(std::string line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || isBlank(line[i - 1]))) {
            line.erase(i);
            break;
        }
    }
    std::size_t begin = 0;
    while (begin < line.size() && isBlank(line[begin]))
        ++begin;
    std::size_t end = line.size();
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

} // namespace

StationListLoad LoadStationList(const std::string& path, const std::function<bool()>& stopped)
{
    StationListLoad load;
    std::string bytes;
    load.outcome = readAll(path, stopped, bytes, load.reason);
    if (load.outcome != StationListLoad::Outcome::Read)
        return load;
    return ParseStationList(bytes);
}

StationListLoad ParseStationList(std::string_view bytes)
{
    StationListLoad load;
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    std::size_t start = 0;
    int number = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        ++number;
        const std::string port = portOf(std::string(bytes.substr(start, end - start)));
        start = end + 1;
        if (port.empty())
            continue;
        const QString text = ArgumentText(port);
        if (port.find('\0') != std::string::npos || !ParsePortText(text)) {
            load.outcome = StationListLoad::Outcome::NoPort;
            load.line = number;
            load.text = port;
            load.ports.clear();
            return load;
        }
        load.ports << text;
    }
    load.outcome = StationListLoad::Outcome::Read;
    return load;
}

std::vector<FleetStation> FleetStations(const QStringList& ports)
{
    std::vector<FleetStation> stations;
    for (const QString& port : DistinctPorts(ports)) {
        const PortText text = ParsePortText(port).value_or(PortText{});
        stations.push_back({ArgumentBytes(port), ResolveStationPort(text.number, text.path)});
    }
    return stations;
}

QStringList DistinctPorts(const QStringList& ports)
{
    QStringList distinct;
    std::set<std::string> seen;
    const ComPortTable comPorts = comPortPaths();
    for (const QString& port : ports) {
        if (seen.insert(PortIdentity(port, comPorts)).second)
            distinct << port;
    }
    return distinct;
}
