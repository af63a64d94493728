#include "sequences/PortSearch.h"
#include "transports/LineFactory.h"

#include "transports/ComPortMap.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/ConcurrentProbes.h"
#include "sequences/SequenceObserver.h"
#include "sequences/TransferProgress.h"
#include "protocol/Tvep.h"
#include "diag/ErrLog.h"
#include "model/Station.h"

#include <algorithm>
#include <array>

namespace R = DeviceRegisters;

PortSearchResult SearchComPort(std::unique_ptr<Tvep>& client, Station& station, SequenceObserver& view)
{
    PortSearchResult result;
    station.ComPortNr = 1;
    // The new client talks the way the one it replaces did.
    ProbeSettings settings{station.ComBaud, station.ComParity, client && client->FastReplyEnd,
                           client ? client->Retries : 0, client ? client->FrameTapUsed() : nullptr};
    const int32_t patience = client ? client->AnswerPatienceMs : 0;
    client = std::make_unique<Tvep>(SystemLines());
    client->FastReplyEnd = settings.fastReplyEnd;
    client->Retries = settings.retries;
    client->AnswerPatienceMs = patience;
    client->TapFramesInto(settings.frameTap);
    client->Serial().SetWaitHook([&view] { view.Repaint(); });

    // Read once: the probes must not each read the settings file.
    const std::array<std::string, MaxComPort> paths = comPortPaths();
    TransferProgress progress(&view, static_cast<int>(std::count_if(paths.begin(), paths.end(),
                                                                    [](const std::string& p) { return !p.empty(); })));

    // Every port is probed at once, and their results are taken in port order
    // as if probed one after another: the log reads the same, and with devices
    // on several ports the highest still wins.
    ConcurrentProbes probes(paths, settings);
    for (int32_t port = 1; port <= MaxComPort; ++port) {
        const PortProbe probe = probes.take(port, [&view, port] {
            view.ShowSearchingPort(port);
            view.Repaint();
        });
        // Each line is stamped as it is written here, in port order: with all
        // ports probed at once, stamps of their own would run back and forth.
        for (const std::string& line : probe.log)
            WriteErrLog(line);
        if (probe.opened) {
            const DeviceConfiguration& configuration = probe.configuration;
            if (configuration.answered())
                std::copy(probe.words.begin(), probe.words.end(), station.ReceiveBuffer.begin());
            // Taken also after a failed transfer, when the buffer still holds
            // an earlier reply: the status bar then shows the last type word
            // seen, as the device's service tools always have. Only a good
            // reply can select the port.
            station.DeviceType = station.ReceiveBuffer[R::TypeWord];
            if (configuration.answered())
                station.DeviceAddress = configuration.address;
            const FoundDevice device{port, configuration.type, configuration.serialNumber, configuration.address};
            if (configuration.accepted()) {
                station.ComPortNr = port;
                result.devices.push_back(device);
            } else if (configuration.answered()) {
                result.refused.push_back(device);
            }
        }
        if (!paths[static_cast<std::size_t>(port) - 1].empty())
            progress.Step();
    }
    station.DeviceAddress = 0;
    view.ShowStatus();
    station.ComBaud = 9600;
    station.ComParity = 'n';
    result.chosenPort = station.ComPortNr;
    if (result.devices.empty())
        result.outcome = Outcome::NoDevice;
    return result;
}
