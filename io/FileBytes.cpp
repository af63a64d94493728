#include "io/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Paths are handed to the system as the bytes they are: a name from an old
// stick in Latin-1 is no valid UTF-8, and Qt's file classes would turn its
// umlaut into a replacement character and so read or write another file.

namespace {

FileBytes failed(std::string reason)
{
    FileBytes result;
    result.reason = std::move(reason);
    return result;
}

bool fail(std::string* reason, int error)
{
    if (reason != nullptr)
        *reason = std::strerror(error);
    return false;
}

// Closes the descriptor when the scope ends.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    // Closes now; false (errno set) when the close reports an error.
    bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a replacement goes to: a link is followed to what it names, so
// the link stays a link.
std::string replacedFile(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

} // namespace

FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        FileBytes result = failed("No such file or directory");
        result.status = FileBytes::Status::Missing;
        return result;
    }
    if (error)
        return failed(error.message());
    if (status.type() != std::filesystem::file_type::regular)
        return failed("Not a regular file");

    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        return failed(std::strerror(errno));
    // One byte more than allowed tells a file that is too large, also one
    // that grew after its size was taken.
    std::string bytes;
    char chunk[65536];
    while (bytes.size() <= maxBytes) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(std::strerror(errno));
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    if (bytes.size() > maxBytes)
        return failed("Larger than " + std::to_string(maxBytes) + " bytes");

    FileBytes result;
    result.status = FileBytes::Status::Read;
    result.bytes = std::move(bytes);
    return result;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* reason)
{
    const std::string target = replacedFile(path);
    std::string temporary = target + ".XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return fail(reason, errno);
    // The new file gets the old one's permissions, a new one what the umask allows.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written = ::fchmod(file.get(), mode) == 0 && writeAll(file.get(), bytes) && ::fsync(file.get()) == 0
                         && file.close() && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (written)
        return true;
    const int error = errno;
    ::unlink(temporary.c_str());
    return fail(reason, error);
}
