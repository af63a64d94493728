#include "i18n/LanguageChoice.h"

#include "i18n/LanguageTexts.h"
#include "io/ProfileFile.h"
#include "io/SettingsFile.h"

#include <algorithm>
#include <cctype>
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
    const auto courseLanguage = [](const std::string& name) {
        return ReadProfileString(LanguageFolder() + name, "GLOBAL", "KursSprache", std::string());
    };
    const std::string spoken = courseLanguage(DefaultLanguageFileName());
    if (spoken.empty())
        return {};
    const auto same = std::find_if(files.begin(), files.end(), [&](const LanguageFile& file) {
        return equalsNoCase(courseLanguage(file.fileName), spoken);
    });
    return same == files.end() ? std::string() : same->fileName;
}

void ActivateStoredLanguage()
{
    SetMinimumLanguageVersion(kLanguageFileMinimumVersion);
    const std::vector<LanguageFile> files = ListLanguageFiles(kLanguageFileMinimumVersion);
    ActivateLanguage(StoredLanguageChoice(settingsFilePath(), "Kalmoria", "Sprache", files));
}
