// The link file reader: any file a field engineer may have edited by hand.
// It loads the file or refuses it with one error that names why; whatever
// it loads, saving into the same file and loading that again gives back
// every link it loaded, and the save keeps every entry of the file's other
// sections.

#include "tests/fuzz/FuzzSupport.h"

#include "io/IniBytes.h"
#include "io/IniLines.h"
#include "model/LinkFile.h"
#include "model/LinkModel.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

const OverviewRows kOverview{{"Adr", "Typ", "Name"}, {"0", "QMX-620", "Zentrale"}, {"5", "LIO ", "local IO"}};

bool sameFields(const LinkRecord& a, const LinkRecord& b)
{
    return a.ModulQ == b.ModulQ && a.RegVon == b.RegVon && a.BitVon == b.BitVon && a.AnzBit == b.AnzBit
        && a.ModulZ == b.ModulZ && a.RegZ == b.RegZ && a.BitZ == b.BitZ && a.deaktiv == b.deaktiv;
}

// Sections the save writes anew, and the header keys it sets.
bool rewritten(const char* section, const char* key)
{
    if (SameIniName(section, "QMX_Verknuepfungen") || SameIniName(section, "Info_Modulliste"))
        return true;
    static constexpr std::array<const char*, 6> kHeaderKeys{"01", "02", "03", "04", "05", "06"};
    return SameIniName(section, "Kopfdaten")
        && std::any_of(kHeaderKeys.begin(), kHeaderKeys.end(), [&](const char* k) { return SameIniName(key, k); });
}

// A line that opens a header and does not close it. The reader then makes up
// sections: it files the keys behind "[name" under a name made of the
// header, its line break and the first key, and reads "[" with a line break
// and "name]" as a header. The save, like a person, sees none there.
bool hasBrokenHeader(std::string_view bytes)
{
    std::size_t pos = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0; // the UTF-8 mark the reader skips
    while (pos < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
        const std::string_view line = bytes.substr(pos, end - pos);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[' && line.find(']') == std::string_view::npos)
            return true;
        pos = end + 1;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string name = FuzzScratchFolder() + "Links";
    WriteFuzzFile(LinkFilePath(name), bytes);

    const LinkFileLoad loaded = LoadLinkFile(name);
    const bool text = bytes.find('\0') == std::string::npos && !bytes.starts_with("\xFF\xFE")
                      && !bytes.starts_with("\xFE\xFF");
    if (!loaded.ok()) {
        FUZZ_CHECK(loaded.links.empty() && loaded.notices.size() == 1
                       && loaded.notices[0].severity == Notice::Severity::Error,
                   "a refusal without its one error: " + loaded.reason);
        const int refusal = loaded.notices[0].number;
        FUZZ_CHECK(text || refusal == kMessageLinkFileNotText, "no text, refused as " + loaded.reason);
        FUZZ_CHECK(refusal == kMessageLinkFileNotText || refusal == kMessageLinkFileWithoutLinks
                       || refusal == kMessageLinkValueUnreadable,
                   "refused as " + loaded.reason);
        // What the save keeps of a file that is no text is no text either.
        if (!text)
            return 0;
    } else {
        FUZZ_CHECK(text, "a file that is no text was loaded");
        for (const Notice& notice : loaded.notices)
            FUZZ_CHECK(notice.severity == Notice::Severity::Warning, "a loaded file with an error");
        FUZZ_CHECK(loaded.firstLinkBehindGap == 0
                       || loaded.firstLinkBehindGap > static_cast<int32_t>(loaded.links.size()),
                   "a gap at link " + std::to_string(loaded.firstLinkBehindGap));
    }
    const std::vector<LinkRecord>& links = loaded.links;
    FUZZ_CHECK(links.size() <= static_cast<std::size_t>(kMaxLinks), "count " + std::to_string(links.size()));
    for (const LinkRecord& link : links)
        FUZZ_CHECK(link.AnzBit >= 0, "a link with AnzBit " + std::to_string(link.AnzBit));

    const LinkFileSave saved = SaveLinkFile(name, links, loaded.origin, kOverview);
    FUZZ_CHECK(saved.ok(), "save failed: " + saved.reason);
    const std::string written = ReadFuzzFile(LinkFilePath(name));
    const bool brokenHeader = hasBrokenHeader(bytes);
    // Behind a broken header the save keeps what the reader takes for links:
    // a value that made it refuse the file, or links behind a gap, stay.
    if (brokenHeader && !loaded.ok())
        return 0;
    const LinkFileLoad again = LoadLinkFile(name);
    FUZZ_CHECK(again.ok() && again.links.size() == links.size() && !again.linksLeftOut,
               std::to_string(links.size()) + " links saved, " + std::to_string(again.links.size()) + " loaded");
    FUZZ_CHECK(brokenHeader || again.notices.empty(), "the saved file warns");
    for (std::size_t i = 0; i < links.size(); ++i)
        FUZZ_CHECK(sameFields(links[i], again.links[i]), "link " + std::to_string(i + 1) + " changed");

    if (brokenHeader)
        return 0;
    // The entries as the link file reader sees them, header lines and all.
    const std::unique_ptr<CSimpleIniA> before = ParseLinkFileIni(bytes);
    const std::unique_ptr<CSimpleIniA> after = ParseLinkFileIni(written);
    FUZZ_CHECK(before && after, "out of memory");
    const std::string changed = FirstChangedEntry(*before, *after, rewritten);
    FUZZ_CHECK(changed.empty(), changed + " lost or changed by the save");
    return 0;
}
