#pragma once

#include <string>

// Qt's own texts, such as the standard buttons of message boxes ("Ja",
// "Nein", "Abbrechen") and the file dialogs, in the language a language file
// names as its KursSprache ("DE", "EN", ...). Qt's translation for that
// language replaces the one installed before; a language for which the
// system has none, or no code at all, leaves Qt's texts English.
void InstallQtTranslation(const std::string& kursSprache);
