#pragma once

// Which language the program speaks: the usable language files beside the
// program and the choice remembered in the settings file. The language menu
// builds on it; a front end without widgets starts its language with it.

#include <string>
#include <vector>

// The oldest language file the program accepts.
constexpr int kLanguageFileMinimumVersion = 20150610;

struct LanguageFile {
    std::string fileName;    // e.g. "KalmoriaEN.TXT"
    std::string displayName; // its "SPRACHE" value, Windows-1252
};

// The language files beside the program (base name + anything + ".TXT", the
// default file excepted) that have a display name and at least
// `minimumVersion`, in name order.
std::vector<LanguageFile> ListLanguageFiles(int minimumVersion);

// The file name stored under `section`/`key` of the settings file at
// `settingsPath` when it is one of `files`; empty otherwise (the default
// language).
std::string StoredLanguageChoice(const std::string& settingsPath, const std::string& section,
                                 const std::string& key, const std::vector<LanguageFile>& files);

// The listed file that speaks the default file's language (the same
// KursSprache): its menu item stands for the language in use while no other is
// chosen. Empty when no listed file does.
std::string ListedDefaultLanguage(const std::vector<LanguageFile>& files);

// Activates the language chosen in the settings file "Kalmoria.ini" (section
// "Kalmoria", key "Sprache") without writing to it. Like the window's start:
// a chosen file that cannot be used (too old, or without a display name)
// falls back to the default file, and without a usable default file the
// program ends with code 98. A file that lacks some texts is used.
void ActivateStoredLanguage();
