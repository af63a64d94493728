#include "io/IniBytes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

std::unique_ptr<CSimpleIniA> LoadIniFile(const std::string& path, bool* found)
{
    // Case-insensitive names, one value per key (the last one wins), no
    // multi-line values: a language text never spans lines.
    auto ini = std::make_unique<CSimpleIniA>(false, false, false);
    if (found != nullptr)
        *found = false;

    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return ini;
    const auto size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in)
        return ini;
    std::vector<char> bytes(std::min<std::uintmax_t>(size, kMaxIniFileBytes));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (ini->LoadData(bytes.data(), bytes.size()) < 0) {
        ini->Reset();
        return ini;
    }
    if (found != nullptr)
        *found = true;
    return ini;
}
