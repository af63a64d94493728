#include "io/IniBytes.h"

#include "io/IniLines.h"

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

std::unique_ptr<CSimpleIniA> ParseLinkFileIni(std::string_view bytes)
{
    auto ini = std::make_unique<CSimpleIniA>(false, false, false);
    const std::size_t from = bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
    const std::size_t to = std::min(bytes.find('\0', from), bytes.size());
    std::string section;
    bool inSection = false;
    for (const IniLine& line : SplitIniLines(bytes, from, to, IniSyntax::LinkFile)) {
        if (line.kind == IniLine::Section) {
            section = line.name;
            inSection = true;
            if (ini->SetValue(section.c_str(), nullptr, nullptr) < 0)
                return nullptr;
        } else if (line.kind == IniLine::Key && inSection) {
            const std::string_view text = bytes.substr(line.begin, line.end - line.begin);
            const std::string value(TrimBlanks(text.substr(text.find('=') + 1)));
            if (ini->SetValue(section.c_str(), std::string(line.name).c_str(), value.c_str()) < 0)
                return nullptr;
        }
    }
    return ini;
}
