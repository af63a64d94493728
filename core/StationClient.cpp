#include "core/StationClient.h"

#include "core/LinkTableWrite.h"
#include "model/LinkModel.h"
#include "model/StationState.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "protocol/Tvep.h"
#include "sequences/DeviceNotices.h"
#include "sequences/SequenceObserver.h"

StationClient::StationClient(const Preferences& preferences, const LineFactory& lines)
    : m_preferences(preferences)
    , m_client(std::make_unique<Tvep>(lines))
{
    m_client->TapFramesInto(&m_frames);
    applyPreferences();
}

StationClient::~StationClient() = default;

void StationClient::applyPreferences()
{
    m_client->FastReplyEnd = m_preferences.fastReplyEnd;
    m_client->Retries = m_preferences.retries;
    m_client->AnswerPatienceMs = m_preferences.answerPatienceMs;
}

void StationClient::SetFastReplyEnd(bool on)
{
    m_preferences.fastReplyEnd = on;
    applyPreferences();
}

void StationClient::SetRetries(int32_t retries)
{
    m_preferences.retries = retries;
    applyPreferences();
}

void StationClient::SetWriteCheck(bool on)
{
    m_preferences.writeCheck = on;
}

LinkWriteChecks StationClient::WriteChecks() const
{
    // Unchecked, the write is the single transfer it always was.
    const bool checked = m_preferences.writeCheck;
    const bool station = checked || m_preferences.alwaysCheckStation;
    return {station, station, checked};
}

void StationClient::SetWaitHook(std::function<void()> hook)
{
    m_waitHook = std::move(hook);
    m_client->Serial().SetWaitHook(m_waitHook);
}

PortSearchResult StationClient::Search(SequenceObserver& observer)
{
    // The port may lead to another device now.
    m_deviceLinks.reset();
    PortSearchResult result = SearchComPort(m_client, m_state, observer);
    if (m_waitHook)
        m_client->Serial().SetWaitHook(m_waitHook);
    return result;
}

DeviceReadResult StationClient::Read(SequenceObserver& observer)
{
    const StationState before = CaptureStation(m_state);
    DeviceReadResult result = ReadDevice(*m_client, m_state, observer);
    m_deviceLinks.reset();
    if (result.ok())
        m_deviceLinks = m_state.CurrentLinks();
    if (result.outcome == Outcome::PortNotOpen) {
        // Nothing came from the device to replace what was shown.
        RestoreStation(m_state, before);
        observer.ModulesChanged();
        observer.ShowStatus();
    }
    return result;
}

CheckedLinkWriteResult StationClient::Write(SequenceObserver* observer, const LinkWriteChecks& checks,
                                            const OverviewRows& overview, WriteQuestions& questions)
{
    CheckedLinkWriteResult result = WriteLinkTable(*m_client, m_state, observer, checks, overview, questions, m_deviceLinks);
    if (result.sent) {
        m_deviceLinks.reset();
        m_lastWrite = RecordLinkWrite(result, checks);
    }
    if (result.ok() && result.sent)
        m_deviceLinks = m_state.CurrentLinks();
    return result;
}

LinkAreaRead StationClient::ReadDeviceLinks()
{
    LinkAreaRead area = ReadLinkArea(*m_client, m_state);
    if (area.ok()) {
        m_deviceLinks = DecodeLinkArea(area.words).links;
        return area;
    }
    // A comparison only reads: its failure says why, and that nothing changed.
    if (area.outcome == Outcome::PortNotOpen)
        area.notices.push_back(PortOpenNotice(m_state.ComPortNr, m_client->Serial().OpenProblem)
                                   .value_or(DeviceNoticeFollowedBy(kMessagePortWillNotOpen, Notice::Severity::Error,
                                                                    IntToText(area.transferResult))));
    else
        area.notices.push_back(DeviceNotice(kMessageDeviceLinksNotRead, Notice::Severity::Error,
                                            {Tvep::ResultText(area.transferResult)}));
    AddConnectionLost(area.notices, m_client->Serial());
    return area;
}
