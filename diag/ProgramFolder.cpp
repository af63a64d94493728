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

// Where programs keep state worth keeping across runs, such as logs.
std::string stateHome()
{
    // Only an absolute XDG_STATE_HOME counts; a relative one is ignored.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return state;
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/.local/state";
}

} // namespace

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
