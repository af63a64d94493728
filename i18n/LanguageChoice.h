#pragma once

// Which language the program speaks: the usable language files beside the
// program and the choice remembered in the settings file. The language menu
// builds on it; a front end without widgets starts its language with it.

#include <optional>
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

// The language code (KursSprache) the language file `name` names, in lower
// case; the default file's for an empty name. Empty when it names none.
std::string LanguageOfFile(const std::string& name);

// The language of the user's locale as a lower-case code ("de" for
// "de_DE.UTF-8"): the first non-empty of LC_ALL, LC_MESSAGES and LANG, as the
// C library takes them. Empty for "C" and "POSIX" and without any: they name
// no language.
std::string LocaleLanguage();

// The file that speaks the language `code` (case ignored): the default file
// (an empty name) when it does, else the first of `files` that does; none
// when no file speaks it.
std::optional<std::string> LanguageFileSpeaking(const std::string& code, const std::vector<LanguageFile>& files);

// The language file of a program without a language menu, which nobody may
// find speaking another language than its user: the file speaking
// `requested` (a language code given on its command line; empty: none); else
// the one chosen in Kalmoria's language menu (settings file "Kalmoria.ini",
// section "Kalmoria", key "Sprache"); else the one speaking the locale's
// language, English where no file speaks it; else, with a locale that names
// no language, the default file (an empty name), as before there were
// locales to follow.
std::string LanguageFileWithoutMenu(const std::string& requested);

// Activates LanguageFileWithoutMenu(requested) without writing to the
// settings file. Like the window's start: a file that cannot be used (too
// old, or without a display name) falls back to the default file, and
// without a usable default file the program ends with code 98. A file that
// lacks some texts is used.
void ActivateLanguageWithoutMenu(const std::string& requested);
