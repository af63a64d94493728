// backup-station: one station of `kalmoria-cli backup`, read in a process of
// its own. The device read works on the process's model (module table, link
// table, overview), so each station that is read at the same time as others
// gets a process, and the backup starts kalmoria-cli once for each with this
// command. It reads the station of --port and prints what it read, or why
// not, as one line of JSON (cli/StationReply.h) for the backup to save and
// report; it saves nothing and shows nothing itself.

#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "cli/DeviceText.h"
#include "cli/StationReply.h"
#include "i18n/NoticeText.h"
#include "model/Station.h"

ExitCode RunBackupStation(CommandContext& context)
{
    StationReply reply;
    // With --port given there is no search: the port is the one to read.
    context.session.Connect();
    const DeviceReadResult result = context.session.ReadSilently();
    reply.ok = result.ok();
    if (!reply.ok) {
        reply.error = context.session.ReadFailureText(result);
    } else {
        const Station& station = context.session.State();
        reply.station = station.LinkTableOrigin.value_or(station.Identity());
        reply.links = station.CurrentLinks();
        reply.overview = OverviewForLinkFile(station);
        for (const Notice& notice : result.notices)
            reply.notes.push_back({NoticeBoxKind(notice.severity), NoticeText(notice, kConsoleWording)});
    }
    printOut(EncodeStationReply(reply).toStdString());
    return reply.ok ? ExitCode::Success : ExitCode::Device;
}
