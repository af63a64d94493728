#include "io/ProfileFile.h"

#include "io/FileBytes.h"
#include "io/IniBytes.h"
#include "io/IniLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace {

std::unique_ptr<CSimpleIniA> parse(std::string_view bytes)
{
    // The same reading as for every settings and language file.
    auto ini = std::make_unique<CSimpleIniA>(false, false, false);
    if (ini->LoadData(bytes.data(), std::min(bytes.size(), kMaxIniFileBytes)) < 0)
        ini->Reset();
    return ini;
}

// The file's bytes; an empty string when it does not exist yet, nothing when
// it cannot be read whole, because rewriting it from a part would lose the rest.
std::optional<std::string> readWhole(const std::string& path)
{
    FileBytes file = ReadWholeFile(path, kMaxIniFileBytes);
    switch (file.status) {
    case FileBytes::Status::Read:
        return std::move(file.bytes);
    case FileBytes::Status::Missing:
        return std::string();
    case FileBytes::Status::Failed:
        break;
    }
    return std::nullopt;
}

// The file with `key=value` set in `section`, everything else byte for byte.
std::string withValue(const std::string& bytes, const std::string& section, const std::string& key,
                      const std::string& value)
{
    // The reader skips a leading UTF-8 mark and stops at the first NUL byte
    // (a file cut short by a power failure may end in a run of them): the
    // entries live in between, and the bytes around them are kept.
    const std::size_t from = bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0 ? kUtf8Mark.size() : 0;
    const std::size_t to = std::min(bytes.find('\0', from), bytes.size());
    const std::vector<IniLine> lines = SplitIniLines(bytes, from, to);

    const IniLine* header = nullptr;   // last header of the section
    const IniLine* lastEntry = nullptr; // last key under that header
    const IniLine* found = nullptr;    // last line of the key itself
    bool inSection = false;
    for (const IniLine& line : lines) {
        if (line.kind == IniLine::Section || line.kind == IniLine::BrokenSection) {
            // Keys under a broken header do not belong to the section above it.
            inSection = line.kind == IniLine::Section && SameIniName(line.name, section);
            if (inSection) {
                header = &line;
                lastEntry = nullptr;
            }
        } else if (line.kind == IniLine::Key && inSection) {
            lastEntry = &line;
            if (SameIniName(line.name, key))
                found = &line;
        }
    }

    std::string out;
    if (found != nullptr) {
        // The key keeps the spelling the user gave it, the line its line break.
        out = bytes.substr(0, found->begin);
        out.append(found->name).append("=").append(value);
        out.append(bytes, found->end, std::string::npos);
        return out;
    }

    std::size_t at = to;
    std::string insert;
    const IniLine* before = lastEntry != nullptr ? lastEntry : header;
    if (before != nullptr) {
        at = before->next;
        if (before->next == before->end)
            insert += kIniLineEnd;
    } else {
        if (!lines.empty()) {
            const IniLine& last = lines.back();
            if (last.next == last.end)
                insert += kIniLineEnd;
            if (last.kind != IniLine::Blank)
                insert += kIniLineEnd;
        }
        insert.append("[").append(section).append("]").append(kIniLineEnd);
    }
    insert.append(key).append("=").append(value).append(kIniLineEnd);
    out = bytes;
    out.insert(at, insert);
    return out;
}

} // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback)
{
    const auto ini = LoadIniFile(path);
    return ini->GetValue(section.c_str(), key.c_str(), fallback.c_str());
}

bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value)
{
    // A line break in a name or value would split the line and change the
    // meaning of the file; the private-profile functions cannot store one either.
    const auto hasLineBreak = [](const std::string& text) {
        return text.find_first_of("\r\n") != std::string::npos;
    };
    if (section.empty() || key.empty() || hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;

    const std::optional<std::string> bytes = readWhole(path);
    if (!bytes)
        return false;
    // Blanks around a value are not read back, so they make no difference.
    const std::string_view wanted = TrimBlanks(value);
    const auto before = parse(*bytes);
    const char* stored = before->GetValue(section.c_str(), key.c_str(), nullptr);
    if (stored != nullptr && wanted == stored)
        return true;

    // A name such as "a]b" or "a=b" would be read back as another entry.
    const std::string changed = withValue(*bytes, section, key, value);
    const auto after = parse(changed);
    const char* written = after->GetValue(section.c_str(), key.c_str(), nullptr);
    if (written == nullptr || wanted != written)
        return false;

    QDir().mkpath(QFileInfo(QFile::decodeName(path.c_str())).absolutePath());
    return ReplaceFileAtomically(path, changed);
}
