#include "i18n/LanguageMenu.h"

// Placeholder until the language files land.
void BuildLanguageMenu(int, QMenu*, const std::string&, std::function<void(QAction*)>,
                       const std::string&, const std::string&)
{
}

void LanguageMenuClick(QMenu*, QAction*) {}
