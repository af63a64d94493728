// search and info: what is connected, and what the device reports about itself.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "cli/DeviceText.h"
#include "transports/ComPortMap.h"
#include "protocol/DeviceRegisters.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "core/StatusTexts.h"
#include "model/Station.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

void printJson(const QJsonDocument& document)
{
    printOut(document.toJson(QJsonDocument::Indented).toStdString());
}

// A device file that Kalmoria.ini gives no COM number has none here either.
QJsonObject portJson(const DeviceSession& session, int32_t port)
{
    const int32_t label = session.PortLabel(port);
    return {{QStringLiteral("number"), label > 0 ? QJsonValue(label) : QJsonValue()},
            {QStringLiteral("path"), fileNameShown(comPortPath(port))}};
}

} // namespace

ExitCode RunSearch(CommandContext& context)
{
    const PortSearchResult search = context.session.Search();
    const std::vector<FoundDevice>& found = search.devices;
    if (context.options.json) {
        QJsonArray devices;
        for (const FoundDevice& device : found) {
            QJsonObject entry = DeviceJson(device.type, device.serialNumber, device.address);
            entry.insert(QStringLiteral("port"), portJson(context.session, device.port));
            devices.append(entry);
        }
        printJson(QJsonDocument(devices));
    } else {
        std::vector<TextRow> rows;
        for (const FoundDevice& device : found) {
            const int32_t label = context.session.PortLabel(device.port);
            TextRow row{label > 0 ? "COM" + IntToText(label) : "-", pathOnTerminal(comPortPath(device.port)),
                        DeviceModelText(device.type)};
            for (std::string& cell : DeviceStatusCells(device.type, device.serialNumber, device.address))
                row.push_back(std::move(cell));
            rows.push_back(std::move(row));
        }
        printOut(FormatTable(rows));
    }
    if (found.empty()) {
        // A device of ours at an address it cannot serve from is no unknown
        // device: the user can change the address.
        for (const FoundDevice& device : search.refused) {
            if (DeviceRegisters::IsAcceptedDevice(device.type, DeviceRegisters::MaxDeviceAddress))
                context.messages.error(CliMessage(kMessageAddressTooHigh, {pathText(comPortPath(device.port)),
                                                                          IntToText(device.address)}));
        }
        context.messages.error(CliMessage(kMessageNoDeviceFound));
        return ExitCode::Device;
    }
    return ExitCode::Success;
}

ExitCode RunInfo(CommandContext& context)
{
    if (const ExitCode code = context.session.ConnectAndRead(); code != ExitCode::Success)
        return code;
    const Station& station = context.session.State();
    if (context.options.json) {
        QJsonArray modules;
        for (const OverviewRow& row : ModuleOverviewRows(station))
            modules.append(OverviewRowJson(row));
        const QJsonObject info{
            {QStringLiteral("port"), portJson(context.session, station.ComPortNr)},
            {QStringLiteral("device"), DeviceJson(station.DeviceType, station.SerialNumber, station.DeviceAddress)},
            {QStringLiteral("stations"), station.ModulAnzahl},
            {QStringLiteral("links"), station.AnzBefehle},
            {QStringLiteral("modules"), modules},
        };
        printJson(QJsonDocument(info));
        return ExitCode::Success;
    }
    // The status bar's words for the counts.
    const auto panels = StatusPanelTexts(station);
    TextRow status = DeviceStatusCells(station.DeviceType, station.SerialNumber, station.DeviceAddress);
    status.push_back(panels[6]);
    status.push_back(panels[7]);
    printOut(toTerminal(context.session.PortName()) + "\n" + FormatTable({status}) + "\n" + FormatTable(OverviewTable(station)));
    return ExitCode::Success;
}
