#include "sequences/LinkWrite.h"

#include "sequences/DeviceNotices.h"
#include "protocol/DeviceRegisters.h"
#include "protocol/LinkArea.h"
#include "sequences/TransferProgress.h"
#include "protocol/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"

namespace R = DeviceRegisters;

namespace {

struct FieldRange {
    const char* name;
    int32_t LinkRecord::*field;
    int32_t maximum;
};

// What one slot of the device's link area can hold: seven bits for each
// module. A module the device does not carry is the link check's question,
// not a bound of the write: such a link reads back as it was written.
constexpr int32_t kHighestEncodableModule = 127;
constexpr std::array<FieldRange, 7> kDeviceForm{{
    {"ModulQ", &LinkRecord::ModulQ, kHighestEncodableModule},
    {"RegVon", &LinkRecord::RegVon, 65535},
    {"BitVon", &LinkRecord::BitVon, 15},
    {"AnzBit", &LinkRecord::AnzBit, 255},
    {"ModulZ", &LinkRecord::ModulZ, kHighestEncodableModule},
    {"RegZ", &LinkRecord::RegZ, 65535},
    {"BitZ", &LinkRecord::BitZ, 15},
}};

} // namespace

std::optional<LinkWriteObstacle> FindLinkWriteObstacle(const LinkTableModel& links)
{
    for (int32_t n = 1; n <= links.AnzBefehle; ++n) {
        const LinkRecord& link = links.LinkTable[static_cast<std::size_t>(n)];
        for (const FieldRange& range : kDeviceForm) {
            const int32_t value = link.*range.field;
            if (value < 0 || value > range.maximum)
                return LinkWriteObstacle{n, std::string(range.name) + "=" + IntToText(value) + " (0.."
                                                + IntToText(range.maximum) + ")"};
        }
    }
    return std::nullopt;
}

std::optional<Notice> LinkWriteRefusal(const Station& station)
{
    if (std::optional<Notice> incomplete = RefusalWhileDataIncomplete(station))
        return incomplete;
    // The device's link area holds 62 links and the end slot, and a write
    // frame counts its registers in one byte: a larger table is never sent.
    if (station.AnzBefehle > R::MaxWritableLinks)
        return DeviceNotice(kMessageTooManyLinks, Notice::Severity::Error, {IntToText(station.AnzBefehle)});
    if (const auto obstacle = FindLinkWriteObstacle(station))
        return DeviceNotice(kMessageLinkNotWritable, Notice::Severity::Error,
                            {IntToText(obstacle->linkNumber), obstacle->reason});
    return std::nullopt;
}

bool RefuseLinkWrite(const Station& station, LinkWriteResult& result)
{
    std::optional<Notice> refusal = LinkWriteRefusal(station);
    if (!refusal)
        return false;
    result.outcome = Outcome::Refused;
    result.notices.push_back(std::move(*refusal));
    return true;
}

bool OpenPortForWrite(Tvep& vep, const PortSettings& port, LinkWriteResult& result)
{
    if (vep.OpenPort(port.ComPortNr, port.ComBaud, port.ComParity))
        return true;
    // A port that just does not open stops the write without a word; a
    // reason the user can act on is worth a box.
    result.outcome = Outcome::PortNotOpen;
    result.transferResult = Tvep::ErrPortClosed;
    if (std::optional<Notice> problem = PortOpenNotice(port.ComPortNr, vep.Serial().OpenProblem))
        result.notices.push_back(std::move(*problem));
    return false;
}

bool SendLinks(Tvep& vep, Station& station, LinkWriteResult& result)
{
    // The table's text forms show what the device now gets.
    for (int32_t n = 1; n <= station.AnzBefehle; ++n) {
        DeviceLinkWords words;
        station.EncodeLink(n, words);
    }
    const std::vector<LinkRecord> links = station.CurrentLinks();
    result.links = static_cast<int32_t>(links.size());
    for (const LinkRecord& link : links)
        ++(link.deaktiv != 0 ? result.inactive : result.active);
    const LinkAreaWords area = EncodeLinkArea(links);
    std::copy(area.begin(), area.end(), station.SendBuffer.begin());

    result.sent = true;
    const int32_t sent = vep.Transfer(R::LinkArea, static_cast<int32_t>(area.size()), station.sendWords(), 0, 0,
                                      station.receiveWords(), true);
    if ((sent & 0xFFFF) != 0) {
        result.outcome = Outcome::TransferFailed;
        result.transferResult = sent;
        result.notices.push_back(DeviceNotice(kMessageLinksNotTransferred, Notice::Severity::Error));
        AddConnectionLost(result.notices, vep.Serial());
        if (DebugFlag())
            WriteErrLog("230-FEHLER beim Verkn\xFCpfungsdaten in QMX schreiben err");
        return false;
    }
    if (DebugFlag())
        WriteErrLog("230-Verkn\xFCpfungsdaten in QMX geschrieben !!!");
    return true;
}

std::vector<std::string> LinkCountArguments(const LinkWriteResult& result)
{
    return {IntToText(result.links), IntToText(result.active), IntToText(result.inactive)};
}

LinkWriteResult WriteLinksToDevice(Tvep& vep, Station& station, SequenceObserver* view)
{
    LinkWriteResult result;
    if (RefuseLinkWrite(station, result))
        return result;
    TransferProgress progress(view, 1);
    if (!OpenPortForWrite(vep, station, result))
        return result;
    const bool sent = SendLinks(vep, station, result);
    progress.Step();
    if (sent)
        result.notices.push_back(
            DeviceNotice(kMessageLinksWritten, Notice::Severity::Information, LinkCountArguments(result)));
    vep.ClosePort();
    return result;
}
