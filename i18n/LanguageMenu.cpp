#include "i18n/LanguageMenu.h"

#include "diag/AnsiText.h"
#include "io/SettingsFile.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageChoice.h"
#include "i18n/LanguageTexts.h"
#include "i18n/QtTranslation.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace {

constexpr char kTagProperty[] = "tag";
constexpr int kFirstLanguageTag = 200;

std::vector<std::string> g_languageList;
std::vector<QPointer<QAction>> g_languageItems;
// The item that stands for the default language, ticked while no choice is in force.
std::string g_defaultLanguageFile;

// Ticks the item of `fileName` alone.
void tickItem(QMenu* menu, const std::string& fileName)
{
    for (QAction* entry : menu->actions()) {
        const int index = entry->property(kTagProperty).toInt() - kFirstLanguageTag;
        if (entry->isCheckable() && index >= 0 && index < static_cast<int>(g_languageList.size()))
            entry->setChecked(g_languageList[static_cast<std::size_t>(index)] == fileName);
    }
}

} // namespace

void BuildLanguageMenu(int minimumVersion, QMenu* menu, const std::string& settingsFile,
                       std::function<void(QAction*)> clickHandler, const std::string& section,
                       const std::string& key)
{
    const std::string settingsPath = settingsFilePath(settingsFile);
    SetLanguageSettings(settingsPath, section, key);
    SetMinimumLanguageVersion(minimumVersion);
    // Each activated language brings Qt's own texts along, then the forms'.
    SetFormTranslationHook([] {
        InstallQtTranslation(KursSprache());
        TranslateAllForms();
    });
    const std::vector<LanguageFile> files = ListLanguageFiles(minimumVersion);
    // A stored name that is not among the files is dropped: the default language.
    const std::string chosen = StoredLanguageChoice(settingsPath, section, key, files);
    g_defaultLanguageFile = ListedDefaultLanguage(files);

    // A second build replaces the items of the first.
    for (const QPointer<QAction>& item : g_languageItems)
        delete item.data();
    g_languageItems.clear();
    g_languageList.clear();

    for (const LanguageFile& file : files) {
        if (menu != nullptr) {
            auto* item = new QAction(ansiToQString(file.displayName), menu);
            item->setProperty(kTagProperty, kFirstLanguageTag + static_cast<int>(g_languageList.size()));
            item->setCheckable(true);
            QObject::connect(item, &QAction::triggered, item, [item, clickHandler] {
                if (clickHandler)
                    clickHandler(item);
            });
            menu->addAction(item);
            g_languageItems.emplace_back(item);
        }
        g_languageList.push_back(file.fileName);
    }
    if (menu != nullptr) {
        menu->setEnabled(g_languageList.size() >= 2);
        tickItem(menu, chosen.empty() ? g_defaultLanguageFile : chosen);
    }

    ActivateLanguage(chosen);
}

void LanguageMenuClick(QMenu* menu, QAction* item)
{
    if (menu == nullptr || item == nullptr)
        return;
    const int index = item->property(kTagProperty).toInt() - kFirstLanguageTag;
    if (index < 0 || index >= static_cast<int>(g_languageList.size()))
        return;
    const std::string& fileName = g_languageList[static_cast<std::size_t>(index)];
    // After a file that cannot be used no item is ticked: the default texts
    // are in force, and no item was chosen for them.
    tickItem(menu, ActivateLanguage(fileName) ? fileName : std::string());
}

const std::vector<std::string>& LanguageList()
{
    return g_languageList;
}
