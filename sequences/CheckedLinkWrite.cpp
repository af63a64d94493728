#include "sequences/CheckedLinkWrite.h"

#include "sequences/DeviceConfiguration.h"
#include "sequences/DeviceNotices.h"
#include "sequences/LinkAreaRead.h"
#include "sequences/ModuleExistence.h"
#include "sequences/TransferProgress.h"
#include "protocol/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "model/Snapshots.h"

#include <algorithm>

namespace {

// Configuration, module existence, snapshot, write and read-back.
constexpr int kCheckedWriteTransfers = 5;

std::string stationText(const StationIdentity& station)
{
    return "SN " + IntToText(station.serialNumber) + ", Adr. " + IntToText(station.address);
}

// The module addresses the links use that the device's bus does not carry;
// the central device itself (0) is always there.
std::vector<int32_t> missingModules(const std::vector<LinkRecord>& links, const ModuleExistence& existence)
{
    std::vector<int32_t> missing;
    for (const LinkRecord& link : links) {
        for (const int32_t address : {link.ModulQ, link.ModulZ}) {
            if (address != 0 && !existence.has(address))
                missing.push_back(address);
        }
    }
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
    return missing;
}

void logCheck(const std::string& line)
{
    if (DebugBit(32))
        WriteErrLog(line);
}

bool Fail(LinkWriteResult& result, Outcome outcome, int32_t transferResult, Notice notice)
{
    result.outcome = outcome;
    result.transferResult = transferResult;
    result.notices.push_back(std::move(notice));
    return false;
}

class CheckedLinkWriteRun {
public:
    CheckedLinkWriteRun(Tvep& vep, Station& station, SequenceObserver* view, const LinkWriteChecks& checks,
                        const OverviewRows& overview)
        : m_vep(vep)
        , m_station(station)
        , m_checks(checks)
        , m_overview(overview)
        , m_progress(view, kCheckedWriteTransfers)
    {
    }

    CheckedLinkWriteResult run(const StationConfirmation& confirm)
    {
        if (RefuseLinkWrite(m_station, m_result) || !OpenPortForWrite(m_vep, m_station, m_result))
            return std::move(m_result);
        if (identifyDevice() && confirmed(confirm) && takeSnapshot() && send())
            verify();
        m_vep.ClosePort();
        return std::move(m_result);
    }

private:
    // The device's configuration, and, with the station check, its modules.
    bool identifyDevice()
    {
        const DeviceConfiguration configuration = ReadConfiguration(m_vep, m_station.receiveWords());
        m_progress.Step();
        if (!configuration.answered())
            return failedBeforeSending(configuration.transferResult);
        if (!configuration.accepted())
            return failed(Outcome::NoDevice, Tvep::Ok,
                          DeviceNoticeFollowedBy(kMessageNoDeviceOfOurs, Notice::Severity::Error,
                                                 IntToText(configuration.type)));
        m_device = StationIdentity{configuration.serialNumber, configuration.address, configuration.type};
        if (!m_checks.station)
            return true;
        const ModuleExistence existence = ReadModuleExistence(m_vep, m_station);
        m_progress.Step();
        if (existence.transferResult != Tvep::Ok)
            return failedBeforeSending(existence.transferResult);
        m_result.station = StationCheck{m_device, m_station.LinkTableOrigin,
                                        missingModules(m_station.CurrentLinks(), existence)};
        return true;
    }

    // The user's word where the device is not what the links were made for;
    // asked with the line free.
    bool confirmed(const StationConfirmation& confirm)
    {
        if (!m_result.station || !m_result.station->needsConfirmation())
            return true;
        m_vep.ClosePort();
        if (!confirm || !confirm(*m_result.station)) {
            m_result.outcome = Outcome::Refused;
            return false;
        }
        return OpenPortForWrite(m_vep, m_station, m_result) && sameStationAnswers();
    }

    // A reopened port may lead elsewhere (a network server hands the new
    // connection to another device): what the user agreed to holds only for
    // the station that was checked.
    bool sameStationAnswers()
    {
        const DeviceConfiguration configuration = ReadConfiguration(m_vep, m_station.receiveWords());
        if (!configuration.answered())
            return failedBeforeSending(configuration.transferResult);
        const StationIdentity now{configuration.serialNumber, configuration.address, configuration.type};
        if (configuration.accepted() && now.sameStation(m_device))
            return true;
        logCheck("231-nach erneutem Ö" "ffnen antwortet " + stationText(now) + " statt " + stationText(m_device));
        return failed(Outcome::Refused, Tvep::Ok,
                      DeviceNotice(kMessageOtherStationAfterReopen, Notice::Severity::Error,
                                   {stationText(m_device), stationText(now)}));
    }

    bool takeSnapshot()
    {
        if (!m_checks.snapshot)
            return true;
        const LinkAreaRead area = ReadLinkAreaOnOpenPort(m_vep, m_station);
        m_progress.Step();
        if (area.transferResult != Tvep::Ok)
            return failedBeforeSending(area.transferResult);
        const bool overviewOfThisStation = m_station.OverviewOrigin && m_station.OverviewOrigin->sameStation(m_device);
        const SnapshotSave saved =
            SaveSnapshot(DecodeLinkArea(area.words).links, m_device, overviewOfThisStation ? m_overview : OverviewRows{});
        if (!saved.ok())
            return failed(Outcome::SnapshotNotSaved, Tvep::Ok,
                          DeviceNotice(kMessageSnapshotNotSaved, Notice::Severity::Error, {saved.path, saved.reason}));
        m_result.snapshotFile = saved.path;
        return true;
    }

    bool send()
    {
        const bool sent = SendLinks(m_vep, m_station, m_result);
        m_progress.Step();
        if (!sent && m_result.sent)
            tellOutcomeUnknown();
        if (sent && !m_checks.verify)
            m_result.notices.push_back(
                DeviceNotice(kMessageLinksWritten, Notice::Severity::Information, LinkCountArguments(m_result)));
        return sent;
    }

    void verify()
    {
        if (!m_checks.verify)
            return;
        VerifyWrittenLinks(m_vep, m_station, m_result);
        m_progress.Step();
    }

    // The write frame went out and no clean answer came: the device may hold
    // the new links, the old ones or part of them, and the snapshot is what
    // puts the old ones back.
    void tellOutcomeUnknown()
    {
        const std::string snapshot = m_result.snapshotFile.empty() ? std::string(" - ") : m_result.snapshotFile;
        for (Notice& notice : m_result.notices) {
            if (notice.number == kMessageLinksNotTransferred)
                notice = DeviceNotice(kMessageWriteOutcomeUnknown, Notice::Severity::Error,
                                      {Tvep::ResultText(m_result.transferResult), snapshot});
        }
    }

    // Nothing was sent: the device holds what it held.
    bool failedBeforeSending(int32_t transferResult)
    {
        return failed(Outcome::TransferFailed, transferResult,
                      DeviceNotice(kMessageNothingSent, Notice::Severity::Error, {Tvep::ResultText(transferResult)}));
    }

    bool failed(Outcome outcome, int32_t transferResult, Notice notice)
    {
        Fail(m_result, outcome, transferResult, std::move(notice));
        AddConnectionLost(m_result.notices, m_vep.Serial());
        return false;
    }

    Tvep& m_vep;
    Station& m_station;
    const LinkWriteChecks& m_checks;
    const OverviewRows& m_overview;
    TransferProgress m_progress;
    StationIdentity m_device;
    CheckedLinkWriteResult m_result;
};

} // namespace

CheckedLinkWriteResult WriteLinksChecked(Tvep& vep, Station& station, SequenceObserver* view, const LinkWriteChecks& checks,
                                         const OverviewRows& overview, const StationConfirmation& confirm)
{
    if (!checks.any()) {
        CheckedLinkWriteResult plain;
        static_cast<LinkWriteResult&>(plain) = WriteLinksToDevice(vep, station, view);
        return plain;
    }
    return CheckedLinkWriteRun(vep, station, view, checks, overview).run(confirm);
}

void VerifyWrittenLinks(Tvep& vep, Station& station, CheckedLinkWriteResult& result)
{
    const LinkAreaRead readBack = ReadLinkAreaOnOpenPort(vep, station);
    const std::string snapshot = result.snapshotFile.empty() ? std::string(" - ") : result.snapshotFile;
    if (readBack.transferResult != Tvep::Ok) {
        logCheck("231-Verkn\xFCpfungen nicht zur\xFC" "ckgelesen: " + IntToText(readBack.transferResult));
        Fail(result, Outcome::TransferFailed, readBack.transferResult,
             DeviceNotice(kMessageWriteNotReadBack, Notice::Severity::Error,
                          {Tvep::ResultText(readBack.transferResult), snapshot}));
        AddConnectionLost(result.notices, vep.Serial());
        return;
    }
    if (const auto difference = CompareLinkAreas(EncodeLinkArea(station.CurrentLinks()), readBack.words)) {
        logCheck("231-Verkn\xFCpfung " + IntToText(difference->slot) + " in QMX weicht ab: "
                 + LinkWordsText(difference->found) + " statt " + LinkWordsText(difference->expected));
        Fail(result, Outcome::Mismatch, Tvep::Ok,
             DeviceNotice(kMessageWriteMismatch, Notice::Severity::Error,
                          {IntToText(difference->slot), LinkWordsText(difference->found),
                           LinkWordsText(difference->expected), snapshot}));
        return;
    }
    result.verified = true;
    std::vector<std::string> arguments = LinkCountArguments(result);
    arguments.push_back(snapshot);
    result.notices.push_back(DeviceNotice(kMessageWrittenAndChecked, Notice::Severity::Information, arguments));
}

Notice StationCheckNotice(const StationCheck& check)
{
    std::string modules;
    for (const int32_t address : check.missingModules)
        modules += (modules.empty() ? "" : ", ") + IntToText(address);
    if (check.otherStation() && modules.empty())
        return DeviceNotice(kMessageOtherStationAllModules, Notice::Severity::Warning,
                            {stationText(*check.linksFrom), stationText(check.device)});
    if (check.otherStation())
        return DeviceNotice(kMessageOtherStation, Notice::Severity::Warning,
                            {stationText(*check.linksFrom), stationText(check.device), modules});
    return DeviceNotice(kMessageModulesMissing, Notice::Severity::Warning, {stationText(check.device), modules});
}
