#pragma once

// Single values in an INI file such as the settings file Kalmoria.ini, read and
// written the way the Windows private-profile functions do it: section and key
// names compared without regard to case, every other section and key of the
// file kept on rewrite. Values are Windows-1252 bytes.

#include <string>

// `fallback` when the file, the section or the key is missing.
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback);

// Sets one value and rewrites the whole file with CR LF line ends through a
// temporary file in the same folder, so a crash never leaves half a file.
// Creates the folder and the file when missing. False when the file could not
// be written; the old file is then unchanged.
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);
