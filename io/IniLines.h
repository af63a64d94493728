#pragma once

// The lines of an INI file as the reader sees them, for writers that change a
// few entries and keep every other byte of a file the user may have edited.

#include <cstddef>
#include <string_view>
#include <vector>

inline constexpr std::string_view kIniLineEnd = "\r\n";
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view text);
// Section and key names are compared the way the reader compares them:
// ASCII letters without regard to case, every other byte as it is.
bool SameIniName(std::string_view a, std::string_view b);

// Two readings of the same lines. Settings files are read as the
// private-profile reader does: ";" and "#" start comments, and "[name] rest"
// is a header. Link files follow their own format: the line is taken without
// the blanks around it, only ";" starts a comment, and only a line that
// begins with "[" and ends with "]" is a header; any other line with "=" is
// an entry, whatever its first character.
enum class IniSyntax { PrivateProfile, LinkFile };

struct IniLine {
    std::size_t begin = 0; // first byte
    std::size_t end = 0;   // its line break, or the end of the text
    std::size_t next = 0;  // first byte of the following line
    enum Kind { Blank, Other, Section, BrokenSection, Key } kind = Other;
    std::string_view name; // section name or key, without surrounding blanks
};

// The lines of bytes[from, to). Lines end at CR LF, at a lone CR or at a lone
// LF, as for the reader. Comments, lines without "=" and lines with nothing
// before it are Other; only the private-profile reading has BrokenSection.
std::vector<IniLine> SplitIniLines(std::string_view bytes, std::size_t from, std::size_t to,
                                   IniSyntax syntax = IniSyntax::PrivateProfile);
