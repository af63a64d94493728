#pragma once

// Language texts: every caption and message of the program comes by number from
// a language file beside the program ("Kalmoria.TXT" by default, "KalmoriaEN.TXT"
// and so on for the languages of the language menu). All texts are
// Windows-1252 bytes.
//
// Layout of a language file (INI, names compared without regard to case):
//   [GLOBAL]  VERSION, SPRACHE (display name), KursSprache, DefaultSprache,
//             TitelM/TitelW/TitelE/TitelI/TitelB (message box titles),
//             T<n> (texts of negative numbers)
//   [ERROR]   T<n>: numbered messages
//   [<form>]  T<n> caption, T<n>H hint, T<n>-<i> line i of a text table
// A value may hold "{ddd}" for the character with that code ("{13}" = CR).

#include <functional>
#include <string>
#include <vector>

// Text n of the current text section (n > 0) or of "GLOBAL" (n < 0), with
// `suffix` (at most 8 characters) appended to its key "T<|n|>". A missing text
// reads "@<|n|><suffix>"; without suffix it also counts as missing.
std::string GetText(int n, const std::string& suffix);

// The number of an "@NN..." or "#NN..." reference; a leading zero ("@05")
// makes it negative. 0 when there is none.
int ParseTextNumber(const std::string& text);

// Message n of section "ERROR" with "%s1" .. "%s9" replaced by arguments[0 ..
// lastIndex] (the first occurrence of each). With a `variant`, the message's
// wording for that front end ("T<n>C" for the console) where the file has
// one: the window's message may name buttons a console does not have.
std::string GetMessageText(int n, const std::vector<std::string>& arguments, int lastIndex,
                           const std::string& variant = {});
// The message as an information box with an OK button.
void ShowMessageText(int n, const std::vector<std::string>& arguments, int lastIndex);

// Caption n of the form `form`, whatever section is current.
std::string GetFormText(const std::string& form, int n);
// Caption n of the form `form` with "%s1" .. "%s9" replaced by `arguments`;
// the form's German words `german` where the language file lacks the text.
std::string FormTextOr(const std::string& form, int n, const std::string& german,
                       const std::vector<std::string>& arguments = {});

// Replaces the "{ddd}" character escapes of a text.
std::string ExpandCharacterEscapes(const std::string& text);

// Reads the header of the language file `name` in the program folder (empty
// name: the default file). Returns its display name, or an empty string when
// it lacks one or its version is below `minimumVersion`; `showError` then
// shows the fatal-error box, which names the version. The file's message
// titles replace the current ones.
std::string LoadLanguageFile(const std::string& name, int minimumVersion, bool showError);

// Makes the language file `name` (empty: the default file) the active one,
// stores the choice in the settings file and translates every open form.
// A file that lacks some texts is used: each shows as "@n", and the log names
// the program texts it lacks. A file that cannot be used falls back to the
// default file (result false); when the default file itself cannot be used,
// the program ends with code kExitWithoutLanguageTexts.
bool ActivateLanguage(const std::string& name);
inline constexpr int kExitWithoutLanguageTexts = 98;

// Section of the positive text numbers, normally the name of the form being
// translated (at most 40 characters are kept).
const std::string& TextSection();
void SetTextSection(const std::string& section);

// Caption lookups without a text since the last activation.
int MissingTextCount();

// The minimum version a language file must have (1 until the main window sets it).
int MinimumLanguageVersion();
void SetMinimumLanguageVersion(int version);

// Where ActivateLanguage stores the chosen file name; nothing is stored until set.
void SetLanguageSettings(const std::string& settingsPath, const std::string& section, const std::string& key);
const std::string& LanguageSettingsPath();
const std::string& LanguageSettingsSection();
const std::string& LanguageSettingsKey();

// The language code the active file names under [GLOBAL] KursSprache ("DE",
// "EN", ...); empty before a file is activated or when it names none.
const std::string& KursSprache();

// Help file belonging to the active language (its name with ".hlp").
const std::string& LanguageHelpFile();

// Folder (ending in "/") and base name under which the language files are found.
const std::string& LanguageFolder();
const std::string& LanguageBaseName();
// The name of the default language file: base name + ".TXT".
std::string DefaultLanguageFileName();

// Called by ActivateLanguage to translate every form that exists; installed by
// the widget side.
void SetFormTranslationHook(std::function<void()> translateAllForms);

// Starts over as at program start, with the language files looked up in
// `folder` under `baseName`. The program runs with its own folder and base
// name; tests point this at a scratch folder.
void ResetLanguageTexts(const std::string& folder, const std::string& baseName);
