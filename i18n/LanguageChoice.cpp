#include "i18n/LanguageChoice.h"

#include "i18n/LanguageTexts.h"
#include "io/ProfileFile.h"
#include "io/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace {

bool startsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
}

bool equalsNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && startsWithNoCase(a, b);
}

bool endsWithNoCase(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() &&
           startsWithNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// Language file candidates in the program folder, in name order. Names are
// matched without regard to case, as on the file system the files come from;
// hidden files (a leading dot) cannot match the base name.
std::vector<std::string> languageFileCandidates()
{
    const std::string& base = LanguageBaseName();
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(LanguageFolder(), error)) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError))
            continue;
        const std::string name = entry.path().filename().string();
        if (name.size() > base.size() + 4 && startsWithNoCase(name, base) && endsWithNoCase(name, ".TXT"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<LanguageFile> ListLanguageFiles(int minimumVersion)
{
    std::vector<LanguageFile> files;
    for (const std::string& name : languageFileCandidates()) {
        std::string displayName = LoadLanguageFile(name, minimumVersion, false);
        if (!displayName.empty())
            files.push_back({name, std::move(displayName)});
    }
    return files;
}

std::string StoredLanguageChoice(const std::string& settingsPath, const std::string& section,
                                 const std::string& key, const std::vector<LanguageFile>& files)
{
    const std::string stored = ReadProfileString(settingsPath, section, key, std::string());
    const bool listed = std::any_of(files.begin(), files.end(),
                                    [&stored](const LanguageFile& file) { return file.fileName == stored; });
    return listed ? stored : std::string();
}

std::string ListedDefaultLanguage(const std::vector<LanguageFile>& files)
{
    const std::string spoken = LanguageOfFile({});
    if (spoken.empty())
        return {};
    const auto same = std::find_if(files.begin(), files.end(),
                                   [&](const LanguageFile& file) { return LanguageOfFile(file.fileName) == spoken; });
    return same == files.end() ? std::string() : same->fileName;
}

std::string LanguageOfFile(const std::string& name)
{
    std::string code = ReadProfileString(LanguageFolder() + (name.empty() ? DefaultLanguageFileName() : name),
                                         "GLOBAL", "KursSprache", std::string());
    std::transform(code.begin(), code.end(), code.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return code;
}

std::string LocaleLanguage()
{
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    // "de_DE.UTF-8", "de_DE@euro", "de": the language is what comes first.
    std::string code = locale.substr(0, locale.find_first_of("_.@"));
    std::transform(code.begin(), code.end(), code.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return code == "c" || code == "posix" ? std::string() : code;
}

std::optional<std::string> LanguageFileSpeaking(const std::string& code, const std::vector<LanguageFile>& files)
{
    if (code.empty())
        return std::nullopt;
    if (equalsNoCase(LanguageOfFile({}), code))
        return std::string();
    const auto speaking = std::find_if(files.begin(), files.end(), [&](const LanguageFile& file) {
        return equalsNoCase(LanguageOfFile(file.fileName), code);
    });
    if (speaking == files.end())
        return std::nullopt;
    return speaking->fileName;
}

std::string LanguageFileWithoutMenu(const std::string& requested)
{
    const std::vector<LanguageFile> files = ListLanguageFiles(kLanguageFileMinimumVersion);
    if (std::optional<std::string> file = LanguageFileSpeaking(requested, files))
        return *file;
    if (std::string chosen = StoredLanguageChoice(settingsFilePath(), "Kalmoria", "Sprache", files); !chosen.empty())
        return chosen;
    const std::string locale = LocaleLanguage();
    if (locale.empty())
        return {};
    // English is what a user of a language without a file reads most likely.
    return LanguageFileSpeaking(locale, files).value_or(LanguageFileSpeaking("en", files).value_or(std::string()));
}

void ActivateLanguageWithoutMenu(const std::string& requested)
{
    SetMinimumLanguageVersion(kLanguageFileMinimumVersion);
    ActivateLanguage(LanguageFileWithoutMenu(requested));
}
