#include "i18n/LanguageMenu.h"

#include "diag/AnsiText.h"
#include "io/SettingsFile.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageTexts.h"
#include "io/ProfileFile.h"
#include "i18n/QtTranslation.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

constexpr char kTagProperty[] = "tag";
constexpr int kFirstLanguageTag = 200;

std::vector<std::string> g_languageList;
std::vector<QPointer<QAction>> g_languageItems;

bool startsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
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
    std::string stored = ReadProfileString(settingsPath, section, key, std::string());

    // A second build replaces the items of the first.
    for (const QPointer<QAction>& item : g_languageItems)
        delete item.data();
    g_languageItems.clear();
    g_languageList.clear();

    for (const std::string& name : languageFileCandidates()) {
        const std::string displayName = LoadLanguageFile(name, minimumVersion, false);
        if (displayName.empty())
            continue;
        if (menu != nullptr) {
            auto* item = new QAction(ansiToQString(displayName), menu);
            item->setProperty(kTagProperty, kFirstLanguageTag + static_cast<int>(g_languageList.size()));
            item->setCheckable(true);
            item->setChecked(name == stored);
            QObject::connect(item, &QAction::triggered, item, [item, clickHandler] {
                if (clickHandler)
                    clickHandler(item);
            });
            menu->addAction(item);
            g_languageItems.emplace_back(item);
        }
        g_languageList.push_back(name);
    }
    if (menu != nullptr)
        menu->setEnabled(g_languageList.size() >= 2);

    if (std::find(g_languageList.begin(), g_languageList.end(), stored) == g_languageList.end())
        stored.clear();
    ActivateLanguage(stored);
}

void LanguageMenuClick(QMenu* menu, QAction* item)
{
    if (menu == nullptr || item == nullptr)
        return;
    const int index = item->property(kTagProperty).toInt() - kFirstLanguageTag;
    if (index < 0 || index >= static_cast<int>(g_languageList.size()))
        return;
    const bool ok = ActivateLanguage(g_languageList[static_cast<std::size_t>(index)]);
    for (QAction* entry : menu->actions()) {
        if (entry->isCheckable())
            entry->setChecked(ok && entry->property(kTagProperty).toInt() == kFirstLanguageTag + index);
    }
}

const std::vector<std::string>& LanguageList()
{
    return g_languageList;
}
