// read, write and diff: the device's links and link files.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "cli/DeviceText.h"
#include "cli/LinkSetWrite.h"
#include "cli/TextTable.h"
#include "core/LinkFileRead.h"
#include "core/StationClient.h"
#include "transports/ComPortMap.h"
#include "sequences/LinkAreaRead.h"
#include "sequences/LinkWrite.h"
#include "protocol/Tvep.h"
#include "diag/TextHelpers.h"
#include "model/LinkComparison.h"
#include "model/LinkFile.h"
#include "model/Station.h"
#include "model/ModuleOverview.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <variant>
#include <vector>

namespace {

using LinkSet = std::vector<LinkRecord>;

// A link for a script: its raw fields as a file holds them, its device
// words, and its source and target module as a person finds them.
QJsonObject linkJson(const Station& station, const LinkRecord& link, int32_t number)
{
    QJsonObject entry{{QStringLiteral("number"), number}};
    const auto values = FieldValues(link);
    for (std::size_t f = 0; f < values.size(); ++f)
        entry.insert(QLatin1String(kLinkFieldNames[f]), values[f]);
    entry.insert(QStringLiteral("words"), QString::fromStdString(LinkWordsText(EncodeLinkWords(link))));
    entry.insert(QStringLiteral("source"), ModuleJson(station, link.ModulQ));
    entry.insert(QStringLiteral("target"), ModuleJson(station, link.ModulZ));
    return entry;
}

void printLinks(const Station& station, const LinkSet& links, bool json)
{
    if (json) {
        QJsonArray entries;
        for (std::size_t i = 0; i < links.size(); ++i)
            entries.append(linkJson(station, links[i], static_cast<int32_t>(i + 1)));
        printOut(QJsonDocument(QJsonObject{{QStringLiteral("links"), entries}}).toJson().toStdString());
        return;
    }
    std::vector<TextRow> rows{{"Nr"}};
    for (const char* name : kLinkFieldNames)
        rows.front().push_back(name);
    rows.front().push_back("R1,R2,R3,R4");
    for (std::size_t i = 0; i < links.size(); ++i) {
        const LinkRecord& link = links[i];
        TextRow row{IntToText(static_cast<int32_t>(i + 1))};
        for (const int32_t value : FieldValues(link))
            row.push_back(IntToText(value));
        // A person looks the modules up in the window's link table.
        row[1] = ModuleText(station, link.ModulQ);
        row[5] = ModuleText(station, link.ModulZ);
        row.push_back(LinkWordsText(EncodeLinkWords(link)));
        rows.push_back(std::move(row));
    }
    printOut(FormatTable(rows));
}

// The comparison for a script: each row that differs with the link the
// device holds and the one the file would put in its place (null where a
// side has none).
void printDiffJson(const Station& station, const LinkSet& fileLinks, const LinkSet& deviceLinks)
{
    const auto side = [&station](const LinkSet& links, int32_t number) {
        return number == 0 ? QJsonValue()
                           : QJsonValue(linkJson(station, links[static_cast<std::size_t>(number - 1)], number));
    };
    QJsonArray rows;
    for (const LinkComparisonRow& row : CompareLinks(fileLinks, deviceLinks)) {
        if (row.status == LinkRowStatus::Same)
            continue;
        rows.append(QJsonObject{{QStringLiteral("device"), side(deviceLinks, row.device)},
                                {QStringLiteral("file"), side(fileLinks, row.here)}});
    }
    printOut(QJsonDocument(QJsonObject{{QStringLiteral("differences"), rows}}).toJson().toStdString());
}

} // namespace

std::variant<LinkFileLoad, ExitCode> LoadCommandLinkFile(CommandContext& context)
{
    // Links before a gap are taken only when --force says so.
    struct ForcedOnly final : LinkFileQuestions {
        explicit ForcedOnly(bool force)
            : force(force)
        {
        }
        bool UseLinksBeforeGap(const LinkFileLoad&) override { return force; }
        bool force;
    } questions(context.options.force);
    LinkFileRead read = ReadLinkFile(context.options.file, questions);
    context.messages.report(read.notices, !read.ok());
    if (!read.ok())
        return ExitCodeOf(read.outcome);
    return std::move(read.file);
}

ExitCode RunRead(CommandContext& context)
{
    const std::string& name = context.options.output;
    // Only the name typed counts as confirmed: another file it would become
    // ("anlage.cfg" saved as "anlage.ini") is not replaced unasked.
    if (const std::string other = name.empty() ? std::string() : OtherFileReplaced(name);
        !other.empty() && !context.options.force) {
        context.messages.error(CliMessage(kMessageOtherFileExists, {pathText(other)}));
        return ExitCode::File;
    }
    if (const ExitCode code = context.session.ConnectAndRead(); code != ExitCode::Success)
        return code;
    const Station& station = context.session.State();
    if (name.empty()) {
        printLinks(station, station.CurrentLinks(), context.options.json);
        return ExitCode::Success;
    }
    const OverviewRows overview = OverviewForLinkFile(station);
    const std::string path = LinkFilePath(name);
    const LinkFileSave save = SaveLinkFile(name, station.CurrentLinks(), station.LinkTableOrigin, overview);
    if (!save.ok()) {
        context.messages.error(CliMessage(kMessageLinkFileNotSaved, {pathText(path), save.reason}));
        return ExitCode::File;
    }
    context.messages.note(CliMessage(kMessageLinksSaved, {LinkCountText(station.AnzBefehle), pathText(path)}));
    // A script learns the name the file got, byte for byte.
    printOut(path + "\n");
    return ExitCode::Success;
}

ExitCode RunWrite(CommandContext& context)
{
    // The device is read first, as Kalmoria requires before a write: only
    // complete data of a device of ours may be replaced.
    if (const ExitCode code = context.session.ConnectAndRead(); code != ExitCode::Success)
        return code;
    return WriteLinkSet(context, *context.file, LinkFilePath(context.options.file));
}

ExitCode RunDiff(CommandContext& context)
{
    const LinkSet& fileLinks = context.file->links;
    if (const ExitCode code = context.session.Connect(); code != ExitCode::Success)
        return code;
    // The modules only name the links for a person: a read that stops early
    // leaves those it did not reach named by number, and the comparison
    // below says what became of the line.
    if (context.session.ReadSilently().outcome == Outcome::PortNotOpen) {
        context.session.ReportPortNotOpen();
        return ExitCode::Device;
    }
    const Station& station = context.session.State();
    // The device's links as the window compares them: its link area alone.
    const LinkAreaRead area = context.session.Device().ReadDeviceLinks();
    if (area.outcome == Outcome::PortNotOpen) {
        context.session.ReportPortNotOpen();
        return ExitCode::Device;
    }
    if (const std::string failed = TransferFailureText(area, context.options.retries); !failed.empty()) {
        context.messages.error(failed);
        return ExitCodeOf(area.outcome);
    }
    if (context.messages.report(area.notices, !area.ok()))
        return ExitCodeOf(area.outcome);
    const LinkSet deviceLinks = *context.session.Device().DeviceLinks();

    // Like diff(1) from the device to the file: "-" what the device holds,
    // "+" what the file would put in its place.
    const LinkDiff diff =
        DiffLinks(fileLinks, deviceLinks, [&station](int32_t address) { return ModuleText(station, address); });
    if (context.options.json)
        printDiffJson(station, fileLinks, deviceLinks);
    if (diff.differing == 0) {
        context.messages.note(CliMessage(kMessageNoDifferences, {LinkCountText(static_cast<int64_t>(deviceLinks.size()))}));
        return ExitCode::Success;
    }
    if (!context.options.json) {
        std::string lines;
        for (const std::string& line : diff.lines)
            lines += line + "\n";
        printOut("--- QMX " + toTerminal(context.session.PortName()) + "\n+++ " + LinkFilePath(context.options.file)
                 + "\n" + LinkDiffLegend() + "\n" + lines);
    }
    context.messages.note(CliMessage(kMessageDifferences, {LinkCountText(diff.differing)}));
    return ExitCode::Mismatch;
}
