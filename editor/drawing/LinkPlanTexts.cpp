#include "editor/drawing/LinkPlanTexts.h"

#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "i18n/LanguageTexts.h"
#include "model/StationIdentity.h"

#include <string>

namespace {

// The plan's texts belong to the main window's section.
constexpr char kSection[] = "F_Kalmoria_main";
constexpr int kTextPlan = 60;
constexpr int kTextCount = 64;
constexpr int kTextActive = 65;
constexpr int kTextInactive = 66;
constexpr int kTextMissing = 67;

} // namespace

namespace {

std::string mainWindowText(int n, const std::string& suffix)
{
    const std::string section = TextSection();
    SetTextSection(kSection);
    const std::string text = GetText(n, suffix);
    SetTextSection(section);
    return text.empty() || text[0] == '@' ? std::string() : text;
}

} // namespace

QString MainWindowText(int n, const char* german)
{
    const std::string text = mainWindowText(n, std::string());
    return ansiToQString(text.empty() ? german : text);
}

QString MainWindowHint(int n)
{
    return ansiToQString(mainWindowText(n, "H"));
}

LinkPlanTexts CurrentLinkPlanTexts(const LinkPlan& plan, std::size_t moduleCount, std::size_t linkCount,
                                   const std::optional<StationIdentity>& overviewOrigin)
{
    const std::string modules = std::to_string(moduleCount);
    const std::string links = std::to_string(linkCount);
    const std::string inactive = std::to_string(plan.inactiveLinks);
    const std::string counts =
        overviewOrigin ? GetMessageText(kMessageTitleOfStation,
                                        {std::to_string(overviewOrigin->serialNumber),
                                         std::to_string(overviewOrigin->address), modules, links, inactive},
                                        4)
                       : GetMessageText(kMessageTitle, {modules, links, inactive}, 2);
    LinkPlanTexts texts;
    texts.title = MainWindowText(kTextPlan, "Verkn\xFCpfungsplan");
    texts.subtitle = ansiToQString(counts);
    texts.active = MainWindowText(kTextActive, "aktiv");
    texts.inactive = MainWindowText(kTextInactive, "inaktiv");
    texts.count = MainWindowText(kTextCount, "Anzahl der Verkn\xFCpfungen");
    texts.missing = MainWindowText(kTextMissing, "nicht in der Modul\xFC" "bersicht");
    return texts;
}

QPalette LinkPlanPrintPalette()
{
    QPalette colours(QColor(0xEC, 0xEC, 0xEC));
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::ButtonText, Qt::black);
    colours.setColor(QPalette::Highlight, QColor(0x1F, 0x6F, 0xB2));
    colours.setColor(QPalette::Link, QColor(0x00, 0x00, 0xFF));
    return colours;
}
