#include "diag/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace {

constexpr const char* kStateFolderName = "kalmoria";

std::filesystem::path executablePath()
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error) / "Kalmoria";
    return path;
}

// The user's home: $HOME, else the password database's entry.
std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr
        && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

// An XDG base folder: the variable when it holds an absolute path (a
// relative one is ignored), else `fallback` below the user's home.
std::string xdgHome(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/')
        return value;
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + fallback;
}

// Where programs keep state worth keeping across runs, such as logs.
std::string stateHome()
{
    return xdgHome("XDG_STATE_HOME", "/.local/state");
}

} // namespace

const std::string& StartDirectory()
{
    static const std::string folder = [] {
        std::error_code noFolder;
        return std::filesystem::current_path(noFolder).string();
    }();
    return folder;
}

std::string programFolder()
{
    std::string folder = executablePath().parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string programBaseName()
{
    return executablePath().stem().string();
}

std::string logFolder()
{
    const std::string program = programFolder();
    if (::access(program.c_str(), W_OK) == 0)
        return program;
    const std::string state = stateHome();
    if (state.empty())
        return program;
    const std::filesystem::path folder = std::filesystem::path(state) / kStateFolderName;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder.string() + "/";
}

std::string backupFolder()
{
    const std::string data = xdgHome("XDG_DATA_HOME", "/.local/share");
    return data.empty() ? std::string() : data + "/" + kStateFolderName + "/backups/";
}
