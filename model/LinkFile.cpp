#include "model/LinkFile.h"

#include "diag/AnsiText.h"
#include "diag/NumberText.h"
#include "io/FileBytes.h"
#include "io/IniBytes.h"
#include "io/IniLines.h"
#include "model/LinkModel.h"

#include <QDateTime>
#include <QLocale>

#include <SimpleIni.h>

#include <array>
#include <string_view>

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
                          {"04", "|-----      Kalmoria 1.30"},
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
    // A second mark right behind the first is part of the first line to the
    // reader, and would become a mark if the first went: then both stay.
    const bool marked = existing.starts_with(kUtf8Mark);
    const std::size_t from =
        marked && !existing.substr(kUtf8Mark.size()).starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
    const std::size_t to = std::min(existing.find('\0', from), existing.size());
    const HeaderEntries header = headerEntries(stamp, origin);
    std::vector<bool> headerWritten(header.size());

    std::string out;
    out.reserve(existing.size() + 64 * overview.size() + 128 * links.size() + 512);
    SectionMode mode = SectionMode::Keep; // lines before the first section stay
    std::size_t headerEnd = std::string::npos; // behind the last entry of the last header section
    bool endsBlank = true;
    for (const IniLine& line : SplitIniLines(existing, from, to)) {
        // A broken header ("[name" without "]") starts no section, as for the reader.
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

// Link n of the file; a missing or broken value reads as 0, AnzBit as -1.
LinkRecord readLink(const CSimpleIniA& ini, int32_t n)
{
    LinkRecord link;
    for (std::size_t k = 0; k < kLinkFields.size(); ++k) {
        const int key = static_cast<int>(n * 10 + static_cast<int32_t>(k) + 1);
        const char* text = ini.GetValue(kLinkSection, std::to_string(key).c_str(), nullptr);
        const std::optional<int32_t> value = text != nullptr ? ParseInt32(text) : std::nullopt;
        link.*kLinkFields[k] = value.value_or(k + 1 == kAnzBitKey ? -1 : 0);
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

} // namespace

std::string LinkFilePath(const std::string& name)
{
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name.substr(0, dot) + ".ini";
    return name + ".ini";
}

LinkFileSave SaveLinkFile(const std::string& name, std::span<const LinkRecord> links,
                          const std::optional<StationIdentity>& origin, const OverviewRows& overview)
{
    const std::string path = LinkFilePath(name);
    FileBytes old = ReadWholeFile(path, kMaxIniFileBytes);
    // What cannot be read cannot be kept: rather no save than a lost section.
    if (old.status == FileBytes::Status::Failed)
        return {false, old.reason};
    LinkFileSave result;
    result.ok = ReplaceFileAtomically(path, linkFileContent(old.bytes, links, origin, overview, currentStamp()), &result.reason);
    return result;
}

LinkFileLoad LoadLinkFile(const std::string& name)
{
    LinkFileLoad result;
    const FileBytes file = ReadWholeFile(LinkFilePath(name), kMaxIniFileBytes);
    if (file.status != FileBytes::Status::Read) {
        result.reason = file.reason;
        return result;
    }
    CSimpleIniA ini(false, false, false);
    if (ini.LoadData(file.bytes.data(), file.bytes.size()) < 0) {
        result.reason = "Out of memory";
        return result;
    }

    for (int32_t n = 1;; ++n) {
        LinkRecord link = readLink(ini, n);
        if (link.AnzBit < 0)
            break;
        if (static_cast<int>(result.links.size()) == kMaxLinks) {
            result.linksLeftOut = true;
            break;
        }
        link.encodedText = LinkWordsText(EncodeLinkWords(link));
        result.links.push_back(std::move(link));
    }
    result.origin = readOrigin(ini);
    result.ok = true;
    return result;
}
