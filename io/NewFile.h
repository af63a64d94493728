#pragma once

// Files made for writing as they go (a capture grows frame by frame), never
// through a name someone else placed: each is created with O_EXCL and
// O_NOFOLLOW, so a link or a file planted at its name is neither followed
// nor written into.

#include <string>
#include <string_view>

struct NewFile {
    int fd = -1;        // open for writing, owned by the caller; -1 when it could not be made
    std::string path;   // where it is
    std::string reason; // why it could not be made, for the user
};

// The file the user named `path`: made new, or, where a regular file of that
// name exists, replaced in one step by a new file put in its place (the old
// one is never written into, so a hard link to it keeps its bytes). A link,
// a folder, a device or a pipe of that name is left as it is and refused.
NewFile CreateNamedFile(const std::string& path);

// A new file in `folder` named `prefix`, random letters and `suffix`: a name
// nobody can guess, so nobody can place anything there beforehand.
NewFile CreateTemporaryFile(const std::string& folder, std::string_view prefix, std::string_view suffix);
