// The language file reader: any file beside the program. Every text it holds
// under a key the program asks for comes back through GetText with its
// escapes expanded, and the expanded text never holds a brace or a NUL that
// could start a new escape or cut the text.

#include "tests/fuzz/FuzzSupport.h"

#include "i18n/LanguageTexts.h"
#include "io/IniLines.h"

#include <SimpleIni.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr int kMaxLookups = 64;

// The number and suffix of a key the program can ask for ("T12", "T5H",
// "T7-3"): digits without a leading zero, then at most eight characters that
// are no digit.
bool programKey(const std::string& key, int& number, std::string& suffix)
{
    if (key.size() < 2 || (key[0] != 'T' && key[0] != 't') || key[1] < '1' || key[1] > '9')
        return false;
    std::size_t end = 1;
    long long value = 0;
    while (end < key.size() && key[end] >= '0' && key[end] <= '9' && value <= INT_MAX)
        value = value * 10 + (key[end++] - '0');
    suffix = key.substr(end);
    if (value > INT_MAX || suffix.size() > 8 || (!suffix.empty() && suffix[0] >= '0' && suffix[0] <= '9'))
        return false;
    number = static_cast<int>(value);
    return true;
}

void checkExpanded(const std::string& raw, const std::string& text)
{
    FUZZ_CHECK(text.size() <= raw.size(), "expansion grew " + Printable(raw));
    FUZZ_CHECK(text.find('{') == std::string::npos && text.find('\0') == std::string::npos,
               Printable(raw) + " expands to " + Printable(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string& folder = FuzzScratchFolder();
    WriteFuzzFile(folder + "Fuzz.TXT", bytes);
    ResetLanguageTexts(folder, "Fuzz");
    // Any version will do here: the display name is what is checked.
    const std::string displayName = LoadLanguageFile("", INT_MIN, false);

    // The same reading as the program's: names without regard to case, the last value wins.
    CSimpleIniA ini(false, false, false);
    if (ini.LoadData(bytes.data(), bytes.size()) < 0)
        return 0;
    FUZZ_CHECK(displayName == ini.GetValue("GLOBAL", "SPRACHE", ""), "display name " + Printable(displayName));

    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    int lookups = 0;
    for (const auto& section : sections) {
        const std::string name = section.pItem;
        const bool global = SameIniName(name, "GLOBAL");
        if (name.size() > 40 && !global)
            continue; // the program keeps 40 characters of a section name
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto& key : keys) {
            int number = 0;
            std::string suffix;
            if (++lookups > kMaxLookups || !programKey(key.pItem, number, suffix))
                continue;
            const std::string raw = ini.GetValue(section.pItem, key.pItem, "");
            SetTextSection(name);
            const std::string text = GetText(global ? -number : number, suffix);
            checkExpanded(raw, text);
            FUZZ_CHECK(text == ExpandCharacterEscapes(raw),
                       "[" + Printable(name) + "] " + Printable(key.pItem) + " reads " + Printable(text));
            if (name == "ERROR" && suffix.empty()) {
                FUZZ_CHECK(GetMessageText(number, {}, -1) == text, "message " + std::to_string(number));
                const std::vector<std::string> arguments{"%s2", "{65}", "%s1"};
                const std::string message = GetMessageText(number, arguments, 2);
                FUZZ_CHECK(message.size() <= text.size() + 3 * 4, "message grew past its arguments");
            }
        }
    }
    // A text that is missing reads as its reference.
    SetTextSection("]"); // no section of an INI file has this name
    FUZZ_CHECK(GetText(1, "H") == "@1H", "missing text");
    return 0;
}
