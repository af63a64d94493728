#pragma once

// Single values in an INI file such as the settings file Kalmoria.ini, read and
// written the way the Windows private-profile functions do it: section and key
// names compared without regard to case, and a write changes the one line of
// the value and nothing else, so the comments, blank lines and hand-made
// entries of a file the user edits survive. Values are Windows-1252 bytes.

#include <string>

// `fallback` when the file, the section or the key is missing.
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback);

// Sets one value. When the file already holds it, the file is not touched.
// Otherwise every byte stays as it was except the key's line (the last one
// when the key stands twice, as reading takes the last), which gets the new
// value; a missing key is added after the last key of its section, a missing
// section at the end of the file. New lines end with CR LF. The file is
// replaced through a temporary file in the same folder, so a crash never
// leaves half a file; folder and file are created when missing. False, with
// the file unchanged, when it could not be read whole (not a regular file,
// larger than kMaxIniFileBytes) or written, or when a name or the value
// holds a line break or would not read back as given.
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);
