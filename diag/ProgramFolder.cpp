#include "diag/ProgramFolder.h"

#include <filesystem>

namespace {

std::filesystem::path executablePath()
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error) / "Kalmoria";
    return path;
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
