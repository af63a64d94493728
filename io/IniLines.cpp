#include "io/IniLines.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t";

IniLine classify(std::string_view content, IniSyntax syntax)
{
    IniLine line;
    const bool linkFile = syntax == IniSyntax::LinkFile;
    const std::string_view text = linkFile ? TrimBlanks(content)
                                           : content.substr(std::min(content.find_first_not_of(kBlanks), content.size()));
    if (text.empty()) {
        line.kind = IniLine::Blank;
    } else if (text.front() == ';' || (text.front() == '#' && !linkFile)) {
        line.kind = IniLine::Other; // a comment
    } else if (linkFile && text.front() == '[' && text.size() >= 2 && text.back() == ']') {
        line.kind = IniLine::Section;
        line.name = TrimBlanks(text.substr(1, text.size() - 2));
    } else if (text.front() == '[' && !linkFile) {
        const auto close = text.find(']');
        line.kind = close == std::string_view::npos ? IniLine::BrokenSection : IniLine::Section;
        if (close != std::string_view::npos)
            line.name = TrimBlanks(text.substr(1, close - 1));
    } else if (const auto equals = text.find('='); equals != std::string_view::npos) {
        // A line without "=" (a key without value) or with nothing before it
        // is not read as a key.
        line.name = TrimBlanks(text.substr(0, equals));
        line.kind = line.name.empty() ? IniLine::Other : IniLine::Key;
    }
    return line;
}

} // namespace

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameIniName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<IniLine> SplitIniLines(std::string_view bytes, std::size_t from, std::size_t to, IniSyntax syntax)
{
    std::vector<IniLine> lines;
    for (std::size_t pos = from; pos < to;) {
        std::size_t end = pos;
        while (end < to && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        IniLine line = classify(bytes.substr(pos, end - pos), syntax);
        line.begin = pos;
        line.end = end;
        line.next = end == to ? to : end + (bytes[end] == '\r' && end + 1 < to && bytes[end + 1] == '\n' ? 2 : 1);
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}
