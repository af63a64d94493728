#include "io/SameFile.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

fs::path normalized(const std::string& name)
{
    std::error_code error;
    fs::path path = fs::weakly_canonical(fs::absolute(name, error), error);
    if (error)
        path = fs::absolute(name, error).lexically_normal();
    // "folder/" and "folder" are one name.
    return path.has_filename() ? path : path.parent_path();
}

} // namespace

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return normalized(a) == normalized(b);
}
