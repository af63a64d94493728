#include "cli/DeviceText.h"

#include "cli/ConsoleText.h"
#include "core/StationOverview.h"
#include "core/StatusTexts.h"
#include "sequences/StationData.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "model/ModuleNumbering.h"

#include <array>

namespace {

constexpr std::array<const char*, kOverviewColumns> kOverviewKeys{
    "address", "type", "name", "srcBitCount", "srcRegCount", "dstBitCount", "dstRegCount", "src2RegCount"};
// The lines of the main window's text table of column headings that head
// the link table's module number and the overview's address.
constexpr int kHeadingsTable = 91;
constexpr int kModuleNumberLine = 1;
constexpr int kAddressLine = 7;

// Columns whose cells are numbers.
constexpr std::array<bool, kOverviewColumns> kNumericColumn{true, false, false, true, true, true, true, true};

} // namespace

std::string DeviceModelText(uint16_t type)
{
    ModuleRecord central;
    ApplyCentralDeviceRecord(central, type);
    return central.typeText;
}

TextRow DeviceStatusCells(uint16_t type, uint16_t serialNumber, int32_t address)
{
    return {TypeWordStatusText(type), SerialStatusText(serialNumber), AddressStatusText(address)};
}

QJsonObject DeviceJson(uint16_t type, uint16_t serialNumber, int32_t address)
{
    return {
        {QStringLiteral("type"), type},
        {QStringLiteral("typeHex"), QString::fromStdString(WordToHex4(type))},
        {QStringLiteral("model"), QString::fromStdString(DeviceModelText(type))},
        {QStringLiteral("serialNumber"), serialNumber},
        {QStringLiteral("address"), address},
    };
}

std::vector<TextRow> OverviewTable(const Station& station)
{
    std::vector<TextRow> table;
    const auto add = [&table](const OverviewRow& row) {
        TextRow cells;
        for (std::string cell : row) {
            // The table aligns its own columns: the blanks that pad a
            // device's name would only widen them.
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(toTerminal(cell));
        }
        table.push_back(std::move(cells));
    };
    add(OverviewHeadings());
    for (const OverviewRow& row : ModuleOverviewRows(station))
        add(row);
    return table;
}

QJsonObject OverviewRowJson(const OverviewRow& row)
{
    QJsonObject module;
    for (std::size_t c = 0; c < row.size(); ++c) {
        const QString key = QLatin1String(kOverviewKeys[c]);
        // The grid pads some model texts ("LIO "); a script wants the word.
        const QString cell = ansiToQString(row[c]).trimmed();
        if (kNumericColumn[c])
            module.insert(key, cell.toInt());
        else
            module.insert(key, cell);
    }
    return module;
}

std::string ModuleText(const Station& station, int32_t address)
{
    const ModuleNaming naming = NameModule(station, address);
    std::string text = MainWindowTableLine(kHeadingsTable, kModuleNumberLine) + " " + std::to_string(naming.number);
    if (naming.address) {
        text += " (" + MainWindowTableLine(kHeadingsTable, kAddressLine) + " " + IntToText(*naming.address);
        text += (naming.name.empty() ? "" : ", " + naming.name) + ")";
    }
    return toTerminal(text);
}

QJsonObject ModuleJson(const Station& station, int32_t address)
{
    const ModuleNaming naming = NameModule(station, address);
    return {
        {QStringLiteral("module"), static_cast<qint64>(naming.number)},
        {QStringLiteral("address"), naming.address ? QJsonValue(*naming.address) : QJsonValue()},
        {QStringLiteral("name"), naming.address ? QJsonValue(ansiToQString(naming.name)) : QJsonValue()},
    };
}
