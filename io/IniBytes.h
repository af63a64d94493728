#pragma once

// Reading small INI files (language files, settings) into SimpleIni without
// trusting their contents: only regular files are opened (a FIFO or a device
// would block or never end), and only the first `kMaxIniFileBytes` are read.

#include <SimpleIni.h>

#include <cstddef>
#include <memory>
#include <string>

// Far above any language or settings file; a larger file is cut there.
inline constexpr std::size_t kMaxIniFileBytes = 4 * 1024 * 1024;

// The parsed file, or an empty one when it cannot be read. `found` tells which.
std::unique_ptr<CSimpleIniA> LoadIniFile(const std::string& path, bool* found = nullptr);
