#include "io/FileBytes.h"

#include "io/Descriptor.h"

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

// What the umask allows a new file.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A temporary file in the folder of `target` that holds `bytes` on the disk,
// with `mode`; its path, or empty with errno set. Its name is short, so that
// a target whose own name is as long as the system allows can still be saved.
std::string writtenTemporary(const std::string& target, std::string_view bytes, mode_t mode)
{
    const std::string folder = std::filesystem::path(target).parent_path().string();
    std::string temporary = (folder.empty() ? std::string(".") : folder) + "/.kalmoria-XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return {};
    if (::fchmod(file.get(), mode) == 0 && writeAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.close())
        return temporary;
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return {};
}

// The errors of link(2) on a file system without hard links (FAT, exFAT).
bool hardLinksUnsupported(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

// Gives `from` the name `to` unless a file has it; `from` stays where it
// was when that fails.
FileCreation publishExclusively(const std::string& from, const std::string& to, mode_t mode, std::string* reason)
{
    // link(2) fails when the name is taken, and the file appears whole or not at all.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return FileCreation::Created;
    }
    int error = errno;
    if (hardLinksUnsupported(error)) {
        // The name is taken by an empty file first; the whole one replaces it.
        Descriptor reserved(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (reserved.get() >= 0 && ::rename(from.c_str(), to.c_str()) == 0)
            return FileCreation::Created;
        error = errno;
        if (reserved.get() >= 0)
            ::unlink(to.c_str());
    }
    if (error == EEXIST)
        return FileCreation::Taken;
    fail(reason, error);
    return FileCreation::Failed;
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
    // The new file gets the old one's permissions, a new one what the umask allows.
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : newFileMode();
    const std::string temporary = writtenTemporary(target, bytes, mode);
    if (temporary.empty())
        return fail(reason, errno);
    if (::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    const int error = errno;
    ::unlink(temporary.c_str());
    return fail(reason, error);
}

FileCreation CreateFileExclusively(const std::string& path, std::string_view bytes, std::string* reason)
{
    const mode_t mode = newFileMode();
    const std::string temporary = writtenTemporary(path, bytes, mode);
    if (temporary.empty()) {
        fail(reason, errno);
        return FileCreation::Failed;
    }
    const FileCreation created = publishExclusively(temporary, path, mode, reason);
    if (created != FileCreation::Created)
        ::unlink(temporary.c_str());
    return created;
}

FileCreation MoveFileExclusively(const std::string& from, const std::string& to, std::string* reason)
{
    // A link put where `from` was would itself get the new name, and the
    // file placed would be a way into another one.
    struct stat moved {};
    if (::lstat(from.c_str(), &moved) != 0) {
        fail(reason, errno);
        return FileCreation::Failed;
    }
    if (!S_ISREG(moved.st_mode)) {
        if (reason != nullptr)
            *reason = "Not a regular file";
        return FileCreation::Failed;
    }
    return publishExclusively(from, to, newFileMode(), reason);
}
