#pragma once

#include "core/LastLinkWrite.h"
#include "core/Preferences.h"
#include "sequences/CheckedLinkWrite.h"
#include "sequences/DeviceRead.h"
#include "sequences/LinkAreaRead.h"
#include "sequences/PortSearch.h"
#include "model/Station.h"
#include "protocol/FrameTap.h"
#include "transports/LineFactory.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class SequenceObserver;
class Tvep;
class WriteQuestions;

// A central device as both front ends reach it: what is known of it (its
// Station), the protocol client that talks to it as the user's preferences
// say, and the flows over them. The port is the one the station's port
// settings name (ComPortNr); each flow opens and closes it.
class StationClient {
public:
    // `lines` maps the station's COM number to its path and makes the line
    // (SystemLines(): the user's port table); it must outlive the client.
    explicit StationClient(const Preferences& preferences, const LineFactory& lines = SystemLines());
    ~StationClient();
    StationClient(const StationClient&) = delete;
    StationClient& operator=(const StationClient&) = delete;

    // The station the client talks to and works on.
    Station& State() { return m_state; }
    const Station& State() const { return m_state; }

    const Preferences& Prefs() const { return m_preferences; }
    void SetFastReplyEnd(bool on);
    void SetRetries(int32_t retries);
    void SetWriteCheck(bool on);
    // The checks a write makes as the preferences say: in the window all or
    // none; for kalmoria-cli the station and the snapshot always, the
    // read-back as it asks.
    LinkWriteChecks WriteChecks() const;

    // Called between short slices of a read wait, so that a window can
    // repaint while the device is waited for.
    void SetWaitHook(std::function<void()> hook);

    // Probes every port; see SearchComPort. The client is made anew and
    // keeps the preferences.
    PortSearchResult Search(SequenceObserver& observer);
    // The device read into the model. A read that could not even open the
    // port leaves the modules, their overview and the links as they were.
    DeviceReadResult Read(SequenceObserver& observer);
    // The link table to the device, with the write's questions; see
    // LinkTableWrite.h.
    CheckedLinkWriteResult Write(SequenceObserver* observer, const LinkWriteChecks& checks,
                                 const OverviewRows& overview, WriteQuestions& questions);
    // The device's link area in one transfer, for a comparison; when it
    // fails, the notices say why.
    LinkAreaRead ReadDeviceLinks();

    // The device's links as last seen by a read, a comparison or a write;
    // none while nothing is known of them.
    const std::optional<std::vector<LinkRecord>>& DeviceLinks() const { return m_deviceLinks; }
    // The last write that sent anything since this client was made; none
    // before the first.
    const std::optional<LastLinkWrite>& LastWrite() const { return m_lastWrite; }

    // The frames of every transfer with this station, the port search's
    // probes included, for a capture or the traffic view.
    FrameTap& Frames() { return m_frames; }

    Tvep& Client() { return *m_client; }
    const Tvep& Client() const { return *m_client; }

private:
    void applyPreferences();

    Station m_state;
    Preferences m_preferences;
    FrameTap m_frames;
    std::function<void()> m_waitHook;
    std::unique_ptr<Tvep> m_client;
    std::optional<std::vector<LinkRecord>> m_deviceLinks;
    std::optional<LastLinkWrite> m_lastWrite;
};
