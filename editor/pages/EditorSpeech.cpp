#include "editor/pages/EditorSpeech.h"

#include "diag/AnsiText.h"
#include "editor/drawing/LinkPlanTexts.h"
#include "model/Station.h"

#include <QStringList>

namespace {

// Texts of the main window's section; the link plan's words for a link's state serve here too.
constexpr int kModule = 150;
constexpr int kRegister = 151;
constexpr int kBit = 152;
constexpr int kLink = 153;
constexpr int kNoLink = 154;
constexpr int kSelectable = 155;
constexpr int kNotSelectable = 156;
constexpr int kSelected = 157;
constexpr int kFrom = 158;
constexpr int kSignalGroup = 159;
constexpr int kPaneKeys = 160;
constexpr int kBoxKeys = 161;
constexpr int kWholeRegister = 162;
constexpr int kActive = 65;
constexpr int kInactive = 66;

QString word(int n, const char* german)
{
    return MainWindowText(n, german);
}

// "Modul 3 Pumpwerk Nord": the module as the link table numbers it, with its
// name as the device keeps it, without the blanks it is padded with.
QString moduleNamed(const Station& station, int32_t address)
{
    const QString name = ansiToQString(station.Module(address).name).trimmed();
    QString text = word(kModule, "Modul") + QLatin1Char(' ') + QString::number(int64_t{address} + 1);
    return name.isEmpty() ? text : text + QLatin1Char(' ') + name;
}

QString stateOf(bool active)
{
    return active ? word(kActive, "aktiv") : word(kInactive, "inaktiv");
}

QString spokenLink(const Station& station, const LinkOnCell& link)
{
    // A link of another source module shows only an "x": told by its number and where it comes from.
    const QString name = link.mark == kForeignTargetMark
                             ? QString::number(link.number) + QLatin1Char(' ') + word(kFrom, "von") +
                                   QLatin1Char(' ') + moduleNamed(station, link.sourceModule)
                             : QString::fromLatin1(link.mark);
    return word(kLink, "Verkn\xFCpfung") + QLatin1Char(' ') + name + QStringLiteral(", ") + stateOf(link.active);
}

QString registerNamed(int32_t reg)
{
    return word(kRegister, "Register") + QLatin1Char(' ') + QString::number(reg);
}

QString selectability(const CellFacts& facts, int selectableText, const char* selectableGerman)
{
    if (facts.selected)
        return word(kSelected, "ausgew\xE4hlt");
    return facts.selectable ? word(selectableText, selectableGerman) : word(kNotSelectable, "nicht w\xE4hlbar");
}

} // namespace

SpokenText SpokenBit(const Station& station, const CellFacts& facts)
{
    QStringList place;
    if (facts.module >= 0)
        place << moduleNamed(station, facts.module);
    place << registerNamed(facts.reg) << word(kBit, "Bit") + QLatin1Char(' ') + QString::number(facts.bit);
    QStringList links;
    for (const LinkOnCell& link : facts.links)
        links << spokenLink(station, link);
    if (links.isEmpty())
        links << word(kNoLink, "keine Verkn\xFCpfung");
    return {place.join(QStringLiteral(", ")) + QStringLiteral(": ") + links.join(QStringLiteral("; ")),
            selectability(facts, kSelectable, "w\xE4hlbar")};
}

SpokenText SpokenRegisterLabel(const CellFacts& facts)
{
    return {registerNamed(facts.reg), selectability(facts, kWholeRegister, "w\xE4hlt alle 16 Bits des Registers")};
}

QString PaneKeysHelp()
{
    return word(kPaneKeys, "Pfeiltasten: Bit w\xE4hlen; Bild auf/ab, Pos1, Ende: bl\xE4ttern; "
                           "Leertaste: wie Linksklick; Umschalt+F10: Aktionen der Verkn\xFCpfungen; "
                           "Eingabe: \xFC" "bernehmen; F6: anderes Feld");
}

QString PaneBoxHelp()
{
    return word(kBoxKeys, "W\xE4hlt, was das Feld zeigt; Pfeil auf/ab wechselt");
}

QString ModuleWord()
{
    return word(kModule, "Modul");
}

QString SignalGroupWord()
{
    return word(kSignalGroup, "Signalgruppe");
}

QString SpokenLinkOfChoice(int32_t linkNumber, bool active)
{
    return word(kLink, "Verkn\xFCpfung") + QLatin1Char(' ') + QString::number(linkNumber) + QStringLiteral(", ") +
           stateOf(active);
}
