#pragma once

// Reading small INI files (language files, settings) into SimpleIni without
// trusting their contents: only regular files are opened (a FIFO or a device
// would block or never end), and only the first `kMaxIniFileBytes` are read.

#include <SimpleIni.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// Far above any language or settings file; a larger file is cut there.
inline constexpr std::size_t kMaxIniFileBytes = 4 * 1024 * 1024;

// The parsed file, or an empty one when it cannot be read. `found` tells which.
std::unique_ptr<CSimpleIniA> LoadIniFile(const std::string& path, bool* found = nullptr);

// The entries of a link file's bytes, read line by line as IniSyntax::LinkFile
// says (the reader and the save that keeps a file's other sections share that
// one rule), into SimpleIni for the lookups: names compared without regard to
// case, the last of duplicate keys wins. A leading UTF-8 mark is skipped, a
// NUL byte ends the text, entries before the first header are ignored.
// Nothing when memory ran out: half a file must not pass for the whole.
std::unique_ptr<CSimpleIniA> ParseLinkFileIni(std::string_view bytes);
