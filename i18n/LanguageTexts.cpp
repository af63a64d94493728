#include "i18n/LanguageTexts.h"

#include "diag/ErrLog.h"
#include "diag/ProgramFolder.h"
#include "diag/TextHelpers.h"
#include "io/IniBytes.h"
#include "i18n/MessageBoxEx.h"
#include "io/ProfileFile.h"
#include "i18n/ProgramTexts.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

constexpr std::size_t kMaxSuffixLength = 8;
constexpr std::size_t kMaxSectionLength = 40;
constexpr int kMaxPlaceholders = 9; // "%s1" .. "%s9": the index is one digit

struct LanguageState {
    bool initialised = false;
    std::string folder;
    std::string baseName;
    std::unique_ptr<CSimpleIniA> textFile;
    std::string textSection;
    int missingTexts = 0;
    int minimumVersion = 1;
    std::string settingsPath;
    std::string settingsSection;
    std::string settingsKey;
    std::string helpFile;
    std::string kursSprache;
    std::function<void()> translateAllForms;
};

LanguageState g_state;

void startOver(LanguageState& state, std::string folder, std::string baseName)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    state = LanguageState{};
    state.initialised = true;
    state.folder = std::move(folder);
    state.baseName = std::move(baseName);
    // Until a language is activated the default file answers every lookup.
    state.textFile = LoadIniFile(state.folder + state.baseName + ".TXT");
    SetMessageTitles({}, {}, {}, {}, {});
}

LanguageState& state()
{
    if (!g_state.initialised)
        startOver(g_state, programFolder(), programBaseName());
    return g_state;
}

// The whole value must be a number; anything else reads as 0, as a missing one.
int parseVersion(const std::string& text)
{
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return 0;
    return value;
}

// What is wrong with a language file, after its name in the fatal-error box:
// it has no display name or is too old. Empty when it is usable; texts it
// lacks show as "@n" and do not make it unusable.
std::string languageFileFault(const CSimpleIniA& file, int version, int minimumVersion)
{
    if (*file.GetValue("GLOBAL", "SPRACHE", "") != '\0' && version >= minimumVersion)
        return {};
    char versions[64];
    std::snprintf(versions, sizeof versions, ": (V%06d < V%06d)", version, minimumVersion);
    return versions;
}

// A translation written for an older text set is used as it is; the log
// names what it lacks once, where the counts of missing captions cannot.
void logMissingProgramTexts(const std::string& file, const CSimpleIniA& texts)
{
    const std::vector<TextKey> missing = MissingProgramTexts(texts);
    if (missing.empty())
        return;
    std::string names;
    for (const TextKey& text : missing)
        names += " " + text.section + "." + text.key;
    WriteErrLog("Text_AktiviereSprache: " + file + ": " + IntToText(static_cast<int32_t>(missing.size())) +
                " Texte fehlen:" + names);
}

std::string fatalLanguageFileText(const std::string& path, const std::string& fault)
{
    return "Fatal error: textfile not found or too old!\r"
           "Please reinstall the program\r\r"
           "Fatales Problem: Sprachtextdatei nicht gefunden oder veraltet!\r"
           "Bitte korrigieren oder Programm neu installieren\r\r" +
           path + fault;
}

// Reads a language file and checks it. On success returns the display name
// and hands the parsed file to `parsed`.
std::string loadLanguageHeader(const std::string& name, int minimumVersion, bool showError,
                               std::unique_ptr<CSimpleIniA>* parsed)
{
    LanguageState& s = state();
    const std::string path = s.folder + (name.empty() ? DefaultLanguageFileName() : name);
    auto ini = LoadIniFile(path);
    const int version = parseVersion(ini->GetValue("GLOBAL", "VERSION", ""));
    SetMessageTitles(ini->GetValue("GLOBAL", "TitelW", ""), ini->GetValue("GLOBAL", "TitelE", ""),
                     ini->GetValue("GLOBAL", "TitelI", ""), ini->GetValue("GLOBAL", "TitelB", ""),
                     ini->GetValue("GLOBAL", "TitelM", ""));
    const std::string fault = languageFileFault(*ini, version, minimumVersion);
    if (!fault.empty()) {
        if (showError)
            MessageBoxEx(fatalLanguageFileText(path, fault), mbPlain, mbOk, 0);
        return {};
    }
    std::string displayName = ini->GetValue("GLOBAL", "SPRACHE", "");
    if (parsed != nullptr)
        *parsed = std::move(ini);
    return displayName;
}

std::string helpFileFor(const std::string& path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".hlp";
    return path.substr(0, dot) + ".hlp";
}

} // namespace

std::string ExpandCharacterEscapes(const std::string& text)
{
    // One pass from left to right gives the same result as replacing the first
    // "{" over and over (a replacement never yields a "{"), but stays linear
    // however many braces a garbled file holds.
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '{') {
            out += text[i++];
            continue;
        }
        // The code has one to three characters, so the closing brace is two to
        // four places away; "{}" is no escape.
        std::size_t close = std::string::npos;
        for (std::size_t distance = 2; distance <= 4; ++distance) {
            if (i + distance < text.size() && text[i + distance] == '}') {
                close = i + distance;
                break;
            }
        }
        if (close == std::string::npos) {
            out += ' ';
            ++i;
            continue;
        }
        int code = -1;
        const char* first = text.data() + i + 1;
        const char* last = text.data() + close;
        if (std::all_of(first, last, [](char c) { return c >= '0' && c <= '9'; }))
            std::from_chars(first, last, code);
        // NUL would cut the text, "{123}" would be a new "{", and a code above
        // 255 has no single-byte character: all of them read as a blank.
        if (code <= 0 || code == '{' || code > 255)
            out += ' ';
        else
            out += static_cast<char>(static_cast<unsigned char>(code));
        i = close + 1;
    }
    return out;
}

int ParseTextNumber(const std::string& text)
{
    if (text.size() < 2 || (text[0] != '@' && text[0] != '#'))
        return 0;
    long long value = 0;
    for (std::size_t i = 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
    return static_cast<int>(text[1] == '0' ? -value : value);
}

namespace {

// "%s1" .. "%s<count>" replaced by arguments[0 ..]; each placeholder's first
// occurrence in the text itself is replaced, so an argument that happens to
// contain "%s2" is shown as it is.
std::string fillPlaceholders(const std::string& text, const std::vector<std::string>& arguments, int count)
{
    count = std::min({count, static_cast<int>(arguments.size()), kMaxPlaceholders});
    std::vector<std::pair<std::size_t, int>> places;
    for (int i = 1; i <= count; ++i) {
        const auto at = text.find("%s" + std::to_string(i));
        if (at != std::string::npos)
            places.emplace_back(at, i);
    }
    std::sort(places.begin(), places.end());
    std::string out;
    std::size_t from = 0;
    for (const auto& [at, i] : places) {
        out.append(text, from, at - from);
        out += arguments[static_cast<std::size_t>(i - 1)];
        from = at + 3;
    }
    out.append(text, from, std::string::npos);
    return out;
}

} // namespace

std::string GetText(int n, const std::string& suffix)
{
    if (n == 0)
        return {};
    LanguageState& s = state();
    const long long magnitude = n < 0 ? -static_cast<long long>(n) : n;
    const std::string key = "T" + std::to_string(magnitude) + suffix.substr(0, kMaxSuffixLength);
    const std::string fallback = "@" + key.substr(1);
    const char* section = n < 0 ? "GLOBAL" : s.textSection.c_str();
    const char* value = s.textFile->GetValue(section, key.c_str(), nullptr);
    std::string text = value != nullptr ? value : fallback;
    if (suffix.empty() && text == fallback) {
        ++s.missingTexts;
        if (DebugBit(1))
            WriteErrLog("  Vermisse " + s.textSection + "." + key);
    }
    return ExpandCharacterEscapes(text);
}

std::string GetMessageText(int n, const std::vector<std::string>& arguments, int lastIndex,
                           const std::string& variant)
{
    LanguageState& s = state();
    const std::string savedSection = s.textSection;
    s.textSection = "ERROR";
    const int number = ParseTextNumber("@" + std::to_string(n));
    std::string text = variant.empty() ? std::string() : GetText(number, variant);
    if (text.empty() || text == "@" + std::to_string(n) + variant)
        text = GetText(number, "");
    s.textSection = savedSection;

    return fillPlaceholders(text, arguments, lastIndex + 1);
}

std::string GetFormText(const std::string& form, int n)
{
    LanguageState& s = state();
    const std::string savedSection = std::exchange(s.textSection, form.substr(0, kMaxSectionLength));
    std::string text = GetText(n, "");
    s.textSection = savedSection;
    return text;
}

std::string FormTextOr(const std::string& form, int n, const std::string& german,
                       const std::vector<std::string>& arguments)
{
    std::string text = GetFormText(form, n);
    // Without the text "@NN" would tell the user nothing: the form's own words stand.
    if (text.empty() || text == "@" + std::to_string(n))
        text = german;
    return fillPlaceholders(text, arguments, static_cast<int>(arguments.size()));
}

void ShowMessageText(int n, const std::vector<std::string>& arguments, int lastIndex)
{
    MessageBoxEx(GetMessageText(n, arguments, lastIndex), mbInformation, mbOk, 0);
}

std::string LoadLanguageFile(const std::string& name, int minimumVersion, bool showError)
{
    return loadLanguageHeader(name, minimumVersion, showError, nullptr);
}

bool ActivateLanguage(const std::string& name)
{
    LanguageState& s = state();
    if (!s.settingsPath.empty() && !WriteProfileString(s.settingsPath, s.settingsSection, s.settingsKey, name)
        && DebugBit(1))
        WriteErrLog("Text_AktiviereSprache: Einstellung nicht gespeichert in " + s.settingsPath);

    const std::string file = name.empty() ? DefaultLanguageFileName() : name;
    std::unique_ptr<CSimpleIniA> parsed;
    if (!loadLanguageHeader(file, s.minimumVersion, true, &parsed).empty()) {
        s.textFile = std::move(parsed);
        s.helpFile = helpFileFor(s.folder + file);
        s.kursSprache = s.textFile->GetValue("GLOBAL", "KursSprache", "");
        s.missingTexts = 0;
        logMissingProgramTexts(file, *s.textFile);
        if (s.translateAllForms)
            s.translateAllForms();
        // The line names the file whose texts are missing, also when the
        // default file stands in for an empty choice.
        if (DebugBit(1) || s.missingTexts > 0)
            WriteErrLog("Text_AktiviereSprache: " + file + ": " + IntToText(s.missingTexts) + "Fehler");
        return true;
    }
    // Without its default texts the program cannot show a single caption.
    if (file == DefaultLanguageFileName())
        ExitProgram(kExitWithoutLanguageTexts);
    ActivateLanguage(std::string());
    return false;
}

const std::string& TextSection()
{
    return state().textSection;
}

void SetTextSection(const std::string& section)
{
    state().textSection = section.substr(0, kMaxSectionLength);
}

int MissingTextCount()
{
    return state().missingTexts;
}

int MinimumLanguageVersion()
{
    return state().minimumVersion;
}

void SetMinimumLanguageVersion(int version)
{
    state().minimumVersion = version;
}

void SetLanguageSettings(const std::string& settingsPath, const std::string& section, const std::string& key)
{
    LanguageState& s = state();
    s.settingsPath = settingsPath;
    s.settingsSection = section;
    s.settingsKey = key;
}

const std::string& LanguageSettingsPath()
{
    return state().settingsPath;
}

const std::string& LanguageSettingsSection()
{
    return state().settingsSection;
}

const std::string& LanguageSettingsKey()
{
    return state().settingsKey;
}

const std::string& KursSprache()
{
    return state().kursSprache;
}

const std::string& LanguageHelpFile()
{
    return state().helpFile;
}

const std::string& LanguageFolder()
{
    return state().folder;
}

const std::string& LanguageBaseName()
{
    return state().baseName;
}

std::string DefaultLanguageFileName()
{
    return state().baseName + ".TXT";
}

void SetFormTranslationHook(std::function<void()> translateAllForms)
{
    state().translateAllForms = std::move(translateAllForms);
}

void ResetLanguageTexts(const std::string& folder, const std::string& baseName)
{
    startOver(g_state, folder, baseName);
}
