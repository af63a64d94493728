#include "model/LinkFile.h"

#include "diag/AnsiText.h"
#include "diag/Version.h"
#include "diag/NumberText.h"
#include "diag/TextHelpers.h"
#include "io/FileBytes.h"
#include "io/IniBytes.h"
#include "io/IniLines.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/ModuleOverview.h"

#include <QDateTime>
#include <QLocale>

#include <SimpleIni.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <limits>
#include <string_view>
#include <variant>

namespace {

constexpr char kHeaderSection[] = "Kopfdaten";
constexpr char kOverviewSection[] = "Info_Modulliste";
constexpr char kLinkSection[] = "QMX_Verknuepfungen";
constexpr char kLinkLegend[] = "ModulQ-RegVon-BitVon-AnzBit-ModulZ-RegZ-BitZ-deaktiv";
constexpr std::string_view kEol = kIniLineEnd;

// The eight number fields of a link in the order of their keys n*10+1 .. n*10+8.
constexpr std::array<int32_t LinkRecord::*, 8> kLinkFields{
    &LinkRecord::ModulQ, &LinkRecord::RegVon, &LinkRecord::BitVon, &LinkRecord::AnzBit,
    &LinkRecord::ModulZ, &LinkRecord::RegZ,   &LinkRecord::BitZ,   &LinkRecord::deaktiv};
constexpr int kAnzBitKey = 4;

// The byte order mark of UTF-16, either way round; UTF-32 little end first starts with it too.
bool startsWithUtf16Mark(std::string_view bytes)
{
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}


// The keys that name the links' station, in the header section.
constexpr char kSerialKey[] = "Seriennummer";
constexpr char kAddressKey[] = "QMX-Adresse";
constexpr char kTypeKey[] = "Geraetetyp";

using HeaderEntries = std::vector<std::pair<std::string, std::string>>;

// Qt's long time format names the time zone; the header shows the clock only.
QString withoutTimeZone(const QString& format)
{
    QString clock;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            clock += c;
    }
    return clock.trimmed();
}

std::string currentStamp()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return qStringToAnsi(locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" - ")
                         + locale.toString(now.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat))));
}

HeaderEntries headerEntries(const std::string& stamp, const std::optional<StationIdentity>& origin)
{
    const std::string rule = "|" + std::string(59, '-');
    HeaderEntries entries{{"01", rule},
                          {"02", "|-----     Orvanto Elektronik GmbH"},
                          {"03", "|-----     QMX-Verkn\xFCpfungen "},
                          {"04", "|-----      Kalmoria " KALMORIA_VERSION},
                          {"05", "|-----     " + stamp},
                          {"06", rule}};
    if (origin) {
        entries.emplace_back(kSerialKey, std::to_string(origin->serialNumber));
        entries.emplace_back(kAddressKey, std::to_string(origin->address));
        entries.emplace_back(kTypeKey, std::to_string(origin->type));
    }
    return entries;
}

bool isOriginKey(std::string_view key)
{
    return SameIniName(key, kSerialKey) || SameIniName(key, kAddressKey) || SameIniName(key, kTypeKey);
}

// A cell without the blanks around it; a line break inside would split the
// entry, so control characters become blanks.
void appendCell(std::string& out, std::string_view cell)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!cell.empty() && isBlank(cell.front()))
        cell.remove_prefix(1);
    while (!cell.empty() && isBlank(cell.back()))
        cell.remove_suffix(1);
    for (const char c : cell)
        out += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
    out += ", ";
}

bool hasModelText(const std::vector<std::string>& row)
{
    return row.size() > 1 && row[1].find_first_not_of(" \t") != std::string::npos;
}

void appendOverviewSection(std::string& out, const OverviewRows& overview)
{
    out.append("[").append(kOverviewSection).append("]").append(kEol);
    for (std::size_t r = 0; r < overview.size(); ++r) {
        if (!hasModelText(overview[r]))
            continue;
        out.append(r < 10 ? "0" : "").append(std::to_string(r)).append("=");
        for (const std::string& cell : overview[r])
            appendCell(out, cell);
        out.append(kEol);
    }
    out.append(kEol);
}

void appendLinkSection(std::string& out, std::span<const LinkRecord> links)
{
    out.append("[").append(kLinkSection).append("]").append(kEol);
    out.append("00=").append(kLinkLegend).append(kEol);
    for (std::size_t i = 0; i < links.size(); ++i) {
        const int32_t n = static_cast<int32_t>(i) + 1;
        const LinkRecord& link = links[i];
        // Whole numbers: a value must read back as it was, however large.
        out.append(std::to_string(n * 10)).append("=").append(LinkWordsText(EncodeLinkWords(link))).append(kEol);
        for (std::size_t k = 0; k < kLinkFields.size(); ++k) {
            out.append(std::to_string(n * 10 + static_cast<int32_t>(k) + 1)).append("=");
            out.append(std::to_string(link.*kLinkFields[k])).append(kEol);
        }
    }
    out.append(kEol);
}

// What becomes of a section of an existing file.
enum class SectionMode { Keep, Drop, Header };

SectionMode sectionMode(std::string_view name)
{
    if (SameIniName(name, kOverviewSection) || SameIniName(name, kLinkSection))
        return SectionMode::Drop;
    return SameIniName(name, kHeaderSection) ? SectionMode::Header : SectionMode::Keep;
}

// The new file: what `existing` holds, with the header keys set in place, the
// overview and link sections dropped, and both written anew at the end.
std::string linkFileContent(std::string_view existing, std::span<const LinkRecord> links,
                            const std::optional<StationIdentity>& origin, const OverviewRows& overview,
                            const std::string& stamp)
{
    // The reader skips a leading UTF-8 mark and stops at a NUL byte (a file cut
    // short by a power failure may end in a run of them); the file is written
    // as Windows-1252, without either.
    // A second mark right behind the first, or the mark of UTF-16, is part of
    // the first line to the reader, and would become a mark if the first
    // went: then the first stays.
    const bool marked = existing.starts_with(kUtf8Mark);
    const std::string_view behindMark = marked ? existing.substr(kUtf8Mark.size()) : std::string_view();
    const bool markStays = behindMark.starts_with(kUtf8Mark) || startsWithUtf16Mark(behindMark);
    const std::size_t from = marked && !markStays ? kUtf8Mark.size() : 0;
    const std::size_t to = std::min(existing.find('\0', from), existing.size());
    const HeaderEntries header = headerEntries(stamp, origin);
    std::vector<bool> headerWritten(header.size());

    std::string out;
    out.reserve(existing.size() + 64 * overview.size() + 128 * links.size() + 512);
    SectionMode mode = SectionMode::Keep; // lines before the first section stay
    std::size_t headerEnd = std::string::npos; // behind the last entry of the last header section
    bool endsBlank = true;
    // The one rule of the reader: a line such as "[QMX_Verknuepfungen] ; note"
    // is no header, so it and the keys below it stay in the section above.
    for (const IniLine& line : SplitIniLines(existing, from, to, IniSyntax::LinkFile)) {
        if (line.kind == IniLine::Section)
            mode = sectionMode(line.name);
        if (mode == SectionMode::Drop)
            continue;
        // A station the links no longer come from must not stay named.
        if (mode == SectionMode::Header && line.kind == IniLine::Key && !origin && isOriginKey(line.name))
            continue;
        std::string_view text = existing.substr(line.begin, line.end - line.begin);
        std::string replaced;
        if (mode == SectionMode::Header && line.kind == IniLine::Key) {
            for (std::size_t k = 0; k < header.size(); ++k) {
                if (SameIniName(line.name, header[k].first)) {
                    replaced = std::string(line.name) + "=" + header[k].second;
                    text = replaced;
                    headerWritten[k] = true;
                }
            }
        }
        out.append(text).append(kEol);
        endsBlank = line.kind == IniLine::Blank;
        if (mode == SectionMode::Header && !endsBlank)
            headerEnd = out.size();
    }

    std::string missing;
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (!headerWritten[k])
            missing.append(header[k].first).append("=").append(header[k].second).append(kEol);
    }
    if (headerEnd != std::string::npos) {
        out.insert(headerEnd, missing);
    } else {
        if (!endsBlank)
            out.append(kEol);
        out.append("[").append(kHeaderSection).append("]").append(kEol).append(missing).append(kEol);
        endsBlank = true;
    }
    if (!endsBlank)
        out.append(kEol);
    appendOverviewSection(out, overview);
    appendLinkSection(out, links);
    return out;
}

// Link files are Windows-1252 text: a NUL byte or the byte order mark of
// UTF-16 or UTF-32 betrays a file of another kind, in which the INI reader
// would find no links at all.
bool isText(std::string_view bytes)
{
    return bytes.find('\0') == std::string_view::npos && !startsWithUtf16Mark(bytes);
}

struct ListEnd {};

// A value that is no 32-bit integer, where it stands.
struct UnreadableValue {
    int32_t link = 0;
    int key = 0;
    std::string text;
};

using LinkEntry = std::variant<LinkRecord, ListEnd, UnreadableValue>;

// Link n of the file, or the end of the list (its AnzBit absent or negative),
// or the first of its values that cannot be read. An absent key reads as 0.
LinkEntry readLink(const CSimpleIniA& ini, int32_t n)
{
    // AnzBit first: it decides whether link n belongs to the list at all.
    constexpr std::array<std::size_t, 8> kReadOrder{kAnzBitKey - 1, 0, 1, 2, 4, 5, 6, 7};
    LinkRecord link;
    for (const std::size_t k : kReadOrder) {
        const int key = static_cast<int>(n * 10 + static_cast<int32_t>(k) + 1);
        const char* text = ini.GetValue(kLinkSection, std::to_string(key).c_str(), nullptr);
        if (text == nullptr) {
            if (k + 1 == kAnzBitKey)
                return ListEnd{};
            continue;
        }
        const std::optional<int32_t> value = ParseInt32(text);
        if (!value)
            return UnreadableValue{n, key, text};
        if (k + 1 == kAnzBitKey && *value < 0)
            return ListEnd{};
        link.*kLinkFields[k] = *value;
    }
    return link;
}

// The station a file names; none unless all three keys hold values a
// device's registers can.
std::optional<StationIdentity> readOrigin(const CSimpleIniA& ini)
{
    const auto value = [&](const char* key, int32_t maximum) -> std::optional<int32_t> {
        const char* text = ini.GetValue(kHeaderSection, key, nullptr);
        const std::optional<int32_t> number = text != nullptr ? ParseInt32(text) : std::nullopt;
        return number && *number >= 0 && *number <= maximum ? number : std::nullopt;
    };
    const auto serial = value(kSerialKey, 0xFFFF);
    const auto address = value(kAddressKey, 0xFFFF);
    const auto type = value(kTypeKey, 0xFFFF);
    if (!serial || !address || !type)
        return std::nullopt;
    return StationIdentity{static_cast<uint16_t>(*serial), *address, static_cast<uint16_t>(*type)};
}

// The cells of an overview entry, split at the commas the writer put behind
// them ("cell, "). A module name holding a comma comes apart into more cells
// than the overview has columns: those belong back together, so the cells
// before the name are taken from the front and those after it from the
// back, and the name is what lies between, blanks and all. Each comma is
// looked at once, however many an entry holds.
std::vector<std::string_view> overviewCells(std::string_view text)
{
    constexpr std::size_t kNameColumn = 2;
    constexpr std::size_t kBehindName = kOverviewColumns - kNameColumn - 1;
    std::vector<std::string_view> cells;
    if (text.empty())
        return cells;
    if (text.back() == ',')
        text.remove_suffix(1); // the writer's comma behind the last cell
    for (std::size_t comma = text.find(','); cells.size() < kNameColumn && comma != std::string_view::npos;
         comma = text.find(',')) {
        cells.push_back(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
    std::vector<std::string_view> behind;
    if (cells.size() == kNameColumn) {
        for (std::size_t comma = text.rfind(','); behind.size() < kBehindName && comma != std::string_view::npos;
             comma = text.rfind(',')) {
            behind.push_back(text.substr(comma + 1));
            text.remove_suffix(text.size() - comma);
        }
    }
    cells.push_back(text);
    cells.insert(cells.end(), behind.rbegin(), behind.rend());
    return cells;
}

// The overview as the file keeps it, row 0 the headings, each cell without
// the blanks before it and cut to what a device can give its column.
OverviewRows readOverview(const CSimpleIniA& ini)
{
    OverviewRows rows;
    for (int r = 0; r <= kOverviewDataRows; ++r) {
        const std::string key = (r < 10 ? "0" : "") + std::to_string(r);
        const char* text = ini.GetValue(kOverviewSection, key.c_str(), nullptr);
        std::vector<std::string> cells;
        for (std::string_view cell : overviewCells(text != nullptr ? text : "")) {
            cell.remove_prefix(std::min(cell.find_first_not_of(' '), cell.size()));
            // Headings are the language's words, not the device's.
            const std::size_t longest = r == 0 ? kMaxModuleTextLength : kOverviewCellLengths[cells.size()];
            cells.push_back(CutOverviewCell(cell, longest));
        }
        if (r == 0 || !cells.empty())
            rows.push_back(std::move(cells));
    }
    return rows;
}

// The lowest link number from `from` on with any key in the link section
// (n*10 .. n*10+8), 0 when there is none.
int32_t firstLinkWithEntries(const CSimpleIniA& ini, int32_t from)
{
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(kLinkSection, keys);
    int32_t first = 0;
    for (const CSimpleIniA::Entry& key : keys) {
        const std::string_view name(key.pItem);
        long number = 0;
        const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
        if (name.empty() || name.front() == '-' || ec != std::errc() || end != name.data() + name.size()
            || number % 10 == 9 || number / 10 < from || number / 10 > std::numeric_limits<int32_t>::max())
            continue;
        const auto link = static_cast<int32_t>(number / 10);
        if (first == 0 || link < first)
            first = link;
    }
    return first;
}

// A value as a message shows it: a line of a file may be long.
std::string shownValue(const std::string& text)
{
    constexpr std::size_t kShown = 40;
    return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

LinkFileLoad refused(const std::string& path, std::string reason, int message, std::vector<std::string> details)
{
    LinkFileLoad result;
    result.outcome = Outcome::FileUnreadable;
    result.reason = std::move(reason);
    details.insert(details.begin(), fileNameToAnsi(path));
    result.notices.push_back(Notice{message, Notice::Severity::Error, std::move(details), {}, {}});
    return result;
}

} // namespace

std::string LinkFilePath(const std::string& name)
{
    // "Anlage 3.1" and "Anlage 3.2" must stay two files: only letters make
    // an extension that gives way. A leading dot starts a name, not an extension.
    const std::size_t nameStart = name.find_last_of('/') + 1; // npos + 1 == 0
    const std::size_t dot = name.find_last_of('.');
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (dot != std::string::npos && dot > nameStart
        && std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(), isLetter))
        return name.substr(0, dot) + ".ini";
    return name + ".ini";
}

std::string OtherFileReplaced(const std::string& name)
{
    const std::string path = LinkFilePath(name);
    std::error_code error;
    return path != name && std::filesystem::exists(path, error) ? path : std::string();
}

LinkFileSave SaveLinkFile(const std::string& name, std::span<const LinkRecord> links,
                          const std::optional<StationIdentity>& origin, const OverviewRows& overview)
{
    const std::string path = LinkFilePath(name);
    FileBytes old = ReadWholeFile(path, kMaxIniFileBytes);
    // What cannot be read cannot be kept: rather no save than a lost section.
    LinkFileSave result;
    if (old.status == FileBytes::Status::Failed) {
        result.outcome = Outcome::FileNotWritten;
        result.reason = old.reason;
        return result;
    }
    if (!ReplaceFileAtomically(path, linkFileContent(old.bytes, links, origin, overview, currentStamp()),
                               &result.reason))
        result.outcome = Outcome::FileNotWritten;
    return result;
}

std::string NewLinkFileBytes(std::span<const LinkRecord> links, const std::optional<StationIdentity>& origin,
                             const OverviewRows& overview)
{
    return linkFileContent({}, links, origin, overview, currentStamp());
}

LinkFileLoad LoadLinkFile(const std::string& name)
{
    const std::string path = LinkFilePath(name);
    const FileBytes file = ReadWholeFile(path, kMaxIniFileBytes);
    if (file.status != FileBytes::Status::Read)
        return refused(path, file.reason, kMessageLinkFileUnreadable, {file.reason});
    if (!isText(file.bytes))
        return refused(path, "not a text file", kMessageLinkFileNotText, {});
    const std::unique_ptr<CSimpleIniA> parsed = ParseLinkFileIni(file.bytes);
    if (!parsed)
        return refused(path, "Out of memory", kMessageLinkFileUnreadable, {"Out of memory"});
    const CSimpleIniA& ini = *parsed;
    if (ini.GetSection(kLinkSection) == nullptr)
        return refused(path, "no link section", kMessageLinkFileWithoutLinks, {});

    LinkFileLoad result;
    for (int32_t n = 1;; ++n) {
        LinkEntry entry = readLink(ini, n);
        if (std::holds_alternative<ListEnd>(entry)) {
            result.firstLinkBehindGap = firstLinkWithEntries(ini, n);
            break;
        }
        // A link the table cannot take is left out, whatever its values.
        if (static_cast<int>(result.links.size()) == kMaxLinks) {
            result.linksLeftOut = true;
            break;
        }
        if (const auto* unreadable = std::get_if<UnreadableValue>(&entry))
            return refused(path, "link " + std::to_string(n) + ": value not an integer", kMessageLinkValueUnreadable,
                           {IntToText(unreadable->link), std::to_string(unreadable->key), shownValue(unreadable->text)});
        LinkRecord& link = std::get<LinkRecord>(entry);
        link.encodedText = LinkWordsText(EncodeLinkWords(link));
        result.links.push_back(std::move(link));
    }
    result.origin = readOrigin(ini);
    result.overview = readOverview(ini);
    const std::string loaded = IntToText(static_cast<int32_t>(result.links.size()));
    if (result.linksLeftOut)
        result.notices.push_back(Notice{kMessageLinksLeftOut, Notice::Severity::Warning, {loaded}, {}, {}});
    if (result.firstLinkBehindGap != 0)
        result.notices.push_back(Notice{kMessageLinksBehindGap, Notice::Severity::Warning,
                                        {fileNameToAnsi(path), loaded, IntToText(result.firstLinkBehindGap)}, {}, {}});
    return result;
}
