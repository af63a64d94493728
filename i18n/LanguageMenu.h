#pragma once

// The language menu: one checkable item per usable language file beside the
// program (base name + anything + ".TXT", the default file excepted), in name
// order, each with the dynamic property "tag" = 200 + its index. The chosen
// file name is remembered in the settings file.

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

// Fills `menu` with the language items, ticks the language in use (the stored
// choice, else the item that speaks the default file's language) and
// activates it. `settingsFile` is the bare name of the settings file ("Kalmoria.ini");
// the choice is kept under `section`/`key`. `clickHandler` runs for a chosen
// item. With fewer than two languages the menu is disabled.
void BuildLanguageMenu(int minimumVersion, QMenu* menu, const std::string& settingsFile,
                       std::function<void(QAction*)> clickHandler, const std::string& section,
                       const std::string& key);
// Activates the language of the clicked item and moves the tick mark to it;
// when the file could not be used, no item keeps a tick. Other items are
// ignored.
void LanguageMenuClick(QMenu* menu, QAction* item);

// The file names behind the menu items, in menu order.
const std::vector<std::string>& LanguageList();
