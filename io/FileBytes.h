#pragma once

// Whole files as bytes, read and replaced without trusting the file system:
// only regular files are read (a FIFO or a device would block or never end),
// up to a size limit, and a replacement never leaves half a file behind.

#include <cstddef>
#include <string>
#include <string_view>

struct FileBytes {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Failed;
    std::string bytes;  // the whole file when Read
    std::string reason; // why not, for the user (Missing and Failed)
};

// The whole file, Missing when there is none, Failed when it is no regular
// file, larger than `maxBytes` or cannot be read.
FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes);

// Replaces the file (or creates it) with `bytes`: they go to a temporary file
// of a short name in the same folder, which is then renamed over the old one, so a full disk
// or a crash leaves the old file as it was. The folder must exist. False, with
// `reason` set for the user, when it could not be done.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

enum class FileCreation { Created, Taken, Failed };

// Creates the file `path` with `bytes` unless a file of that name exists:
// Taken then, and the existing file is left as it was, also when another
// process creates it at the same moment. The file appears whole or not at
// all (on a file system without hard links, empty for a moment). The folder must exist. Failed, with `reason` set for the user, when it
// could not be done.
FileCreation CreateFileExclusively(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

// Gives the file `from` the name `to` unless a file of that name exists
// (Taken then), in one step on the same file system. `from` keeps its name
// when it is not Created; it must be a regular file, not a link to one.
FileCreation MoveFileExclusively(const std::string& from, const std::string& to, std::string* reason = nullptr);
