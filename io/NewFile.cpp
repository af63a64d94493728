#include "io/NewFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kMode = 0644;
constexpr int kNameTries = 100;
constexpr std::size_t kRandomLetters = 12;

NewFile failed(std::string path, std::string reason)
{
    return NewFile{-1, std::move(path), std::move(reason)};
}

std::string randomLetters()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[kRandomLetters];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {};
        got += static_cast<std::size_t>(n);
    }
    std::string letters;
    for (const unsigned char byte : bytes)
        letters += kLetters[byte % (sizeof kLetters - 1)];
    return letters;
}

} // namespace

NewFile CreateTemporaryFile(const std::string& folder, std::string_view prefix, std::string_view suffix)
{
    const std::string base = (folder.empty() ? std::string(".") : folder) + "/" + std::string(prefix);
    for (int tries = 0; tries < kNameTries; ++tries) {
        const std::string letters = randomLetters();
        if (letters.empty())
            return failed(base, std::strerror(errno));
        const std::string path = base + letters + std::string(suffix);
        const int fd = ::open(path.c_str(), kFlags, kMode);
        if (fd >= 0)
            return NewFile{fd, path, {}};
        if (errno != EEXIST)
            return failed(path, std::strerror(errno));
    }
    return failed(base, std::strerror(EEXIST));
}

NewFile CreateNamedFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), kFlags, kMode);
    if (fd >= 0)
        return NewFile{fd, path, {}};
    if (errno != EEXIST)
        return failed(path, std::strerror(errno));
    struct stat old {};
    if (::lstat(path.c_str(), &old) != 0)
        return failed(path, std::strerror(errno));
    if (S_ISLNK(old.st_mode))
        return failed(path, "A symbolic link, which is not followed");
    if (!S_ISREG(old.st_mode))
        return failed(path, "Not a regular file");
    // The new file takes the old one's name by rename, which replaces the
    // name itself and follows nothing, and its permissions.
    NewFile file = CreateTemporaryFile(std::filesystem::path(path).parent_path().string(), ".kalmoria-", "");
    if (file.fd < 0)
        return failed(path, file.reason);
    if (::fchmod(file.fd, old.st_mode & 0777) != 0 || ::rename(file.path.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::close(file.fd);
        ::unlink(file.path.c_str());
        return failed(path, std::strerror(error));
    }
    file.path = path;
    return file;
}
