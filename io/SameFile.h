#pragma once

// Whether two names lead to one file, however they are spelled: through a
// symbolic link, a hard link, "./" or "..", or a folder reached two ways.

#include <string>

// Both existing: the same device and inode. Otherwise: the same absolute
// path once the links of its existing part are resolved and "." and ".."
// are taken out.
bool SameFile(const std::string& a, const std::string& b);
