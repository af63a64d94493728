#pragma once

#include <functional>
#include <string>

class QAction;
class QMenu;

// Fills `menu` with one item per language file beside the program, ticks the
// stored choice and activates it.
void BuildLanguageMenu(int minimumVersion, QMenu* menu, const std::string& settingsFile,
                       std::function<void(QAction*)> clickHandler, const std::string& section,
                       const std::string& key);
// Activates the language of the clicked item and moves the tick mark.
void LanguageMenuClick(QMenu* menu, QAction* item);
