#include "io/ProfileFile.h"

#include "io/IniBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Names are compared the way the reader compares them: ASCII letters only.
bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// One line of the file as the reader sees it.
struct IniLine {
    std::size_t begin = 0; // first byte
    std::size_t end = 0;   // its line break, or the end of the text
    std::size_t next = 0;  // first byte of the following line
    enum Kind { Blank, Other, Section, BrokenSection, Key } kind = Other;
    std::string_view name; // section name or key, without surrounding blanks
};

IniLine classify(std::string_view content)
{
    IniLine line;
    const std::string_view text = content.substr(std::min(content.find_first_not_of(kBlanks), content.size()));
    if (text.empty()) {
        line.kind = IniLine::Blank;
    } else if (text.front() == ';' || text.front() == '#') {
        line.kind = IniLine::Other; // a comment
    } else if (text.front() == '[') {
        const auto close = text.find(']');
        line.kind = close == std::string_view::npos ? IniLine::BrokenSection : IniLine::Section;
        if (close != std::string_view::npos)
            line.name = trimmed(text.substr(1, close - 1));
    } else if (const auto equals = text.find('='); equals != std::string_view::npos) {
        // A line without "=" (a key without value) or with nothing before it
        // is not read as a key.
        line.name = trimmed(text.substr(0, equals));
        line.kind = line.name.empty() ? IniLine::Other : IniLine::Key;
    }
    return line;
}

// Lines end at CR LF, at a lone CR or at a lone LF, as for the reader.
std::vector<IniLine> splitLines(std::string_view bytes, std::size_t from, std::size_t to)
{
    std::vector<IniLine> lines;
    for (std::size_t pos = from; pos < to;) {
        std::size_t end = pos;
        while (end < to && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        IniLine line = classify(bytes.substr(pos, end - pos));
        line.begin = pos;
        line.end = end;
        line.next = end == to ? to : end + (bytes[end] == '\r' && end + 1 < to && bytes[end + 1] == '\n' ? 2 : 1);
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

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
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return std::string();
    if (status.type() != std::filesystem::file_type::regular)
        return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || size > kMaxIniFileBytes || !in)
        return std::nullopt;
    // One byte more than allowed tells a file that grew meanwhile.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<std::size_t>(in.gcount()) > kMaxIniFileBytes)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
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
    const std::vector<IniLine> lines = splitLines(bytes, from, to);

    const IniLine* header = nullptr;   // last header of the section
    const IniLine* lastEntry = nullptr; // last key under that header
    const IniLine* found = nullptr;    // last line of the key itself
    bool inSection = false;
    for (const IniLine& line : lines) {
        if (line.kind == IniLine::Section || line.kind == IniLine::BrokenSection) {
            // Keys under a broken header do not belong to the section above it.
            inSection = line.kind == IniLine::Section && sameName(line.name, section);
            if (inSection) {
                header = &line;
                lastEntry = nullptr;
            }
        } else if (line.kind == IniLine::Key && inSection) {
            lastEntry = &line;
            if (sameName(line.name, key))
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
            insert += kLineEnd;
    } else {
        if (!lines.empty()) {
            const IniLine& last = lines.back();
            if (last.next == last.end)
                insert += kLineEnd;
            if (last.kind != IniLine::Blank)
                insert += kLineEnd;
        }
        insert.append("[").append(section).append("]").append(kLineEnd);
    }
    insert.append(key).append("=").append(value).append(kLineEnd);
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
    const std::string_view wanted = trimmed(value);
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

    const QString target = QString::fromLocal8Bit(path.c_str());
    QDir().mkpath(QFileInfo(target).absolutePath());
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(changed.data(), static_cast<qint64>(changed.size())) != static_cast<qint64>(changed.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
