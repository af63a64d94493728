#include "transports/PortHolders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool sameFile(const struct stat& a, const struct stat& b)
{
    // A device node elsewhere (a copy made with mknod) is still the device.
    if (S_ISCHR(a.st_mode) && S_ISCHR(b.st_mode))
        return a.st_rdev == b.st_rdev;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool holds(const fs::path& fdFolder, const struct stat& wanted)
{
    std::error_code error;
    for (fs::directory_iterator fd(fdFolder, error), end; !error && fd != end; fd.increment(error)) {
        struct stat info {};
        // stat follows the descriptor's link to the open file itself.
        if (::stat(fd->path().c_str(), &info) == 0 && sameFile(info, wanted))
            return true;
    }
    return false;
}

// Unix 98 pseudo-terminal slaves: majors 136..143, 256 lines each.
std::optional<unsigned> ptyIndex(const struct stat& device)
{
    const unsigned deviceMajor = major(device.st_rdev);
    if (!S_ISCHR(device.st_mode) || deviceMajor < 136 || deviceMajor > 143)
        return std::nullopt;
    return (deviceMajor - 136) * 256 + minor(device.st_rdev);
}

// True when the process holds the master side of pseudo-terminal `index`:
// it is the line's far end (a simulated device), not a program in the way.
bool holdsMaster(const fs::path& processFolder, unsigned index)
{
    std::error_code error;
    for (fs::directory_iterator fd(processFolder / "fd", error), end; !error && fd != end; fd.increment(error)) {
        const fs::path target = fs::read_symlink(fd->path(), error);
        if (error || target.filename() != "ptmx") {
            error.clear();
            continue;
        }
        std::ifstream info(processFolder / "fdinfo" / fd->path().filename());
        for (std::string line; std::getline(info, line);) {
            if (line == "tty-index:\t" + std::to_string(index))
                return true;
        }
    }
    return false;
}

std::string commandName(const fs::path& processFolder)
{
    std::ifstream file(processFolder / "comm");
    std::string name;
    std::getline(file, name);
    return name;
}

} // namespace

std::vector<PortHolder> FindPortHolders(const std::string& path, const std::string& procRoot)
{
    std::vector<PortHolder> holders;
    struct stat wanted {};
    if (path.empty() || ::stat(path.c_str(), &wanted) != 0)
        return holders;
    const std::string self = std::to_string(::getpid());
    std::error_code error;
    for (fs::directory_iterator entry(procRoot, error), end; !error && entry != end; entry.increment(error)) {
        const std::string pid = entry->path().filename().string();
        if (pid == self || pid.empty() || !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const std::optional<unsigned> pty = ptyIndex(wanted);
        if (holds(entry->path() / "fd", wanted) && !(pty && holdsMaster(entry->path(), *pty)))
            holders.push_back({std::stoi(pid), commandName(entry->path())});
    }
    std::sort(holders.begin(), holders.end(), [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return holders;
}
