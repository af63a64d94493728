#include "sequences/PortProbe.h"
#include "transports/LineFactory.h"

#include "protocol/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/ErrLogCollector.h"
#include "diag/TextHelpers.h"

#include <chrono>

PortProbe ProbePort(int32_t port, const std::string& path, const ProbeSettings& settings)
{
    PortProbe probe;
    probe.port = port;
    ErrLogCollector collected;
    {
        Tvep client{SystemLines()};
        client.FastReplyEnd = settings.fastReplyEnd;
        client.Retries = settings.retries;
        client.RetryWhenSilent = false;
        client.TapFramesInto(settings.frameTap);
        probe.opened = client.OpenPortAt(port, path, settings.baud, settings.parity);
        if (probe.opened) {
            if (DebugFlag())
                WriteErrLog("find Comport:" + IntToText(port));
            const auto start = std::chrono::steady_clock::now();
            probe.configuration = ReadConfiguration(client, probe.words);
            probe.replyMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now()
                                                                                   - start)
                                .count();
            const DeviceConfiguration& found = probe.configuration;
            if (!found.answered()) {
                if (DebugBit(32))
                    WriteErrLog("L08 - keine Modul");
            } else if (!found.accepted()) {
                if (DebugBit(32))
                    WriteErrLog("L09 - Falsches oder kein Ger\xE4t - Modultyp: " + IntToText(found.type));
            } else if (DebugFlag()) {
                WriteErrLog("QMX_Typ (1506): " + IntToText(found.type) + " ist an Comport " + IntToText(port)
                            + " angeschlossen");
            }
        } else {
            probe.openProblem = client.Serial().OpenProblem;
        }
        client.ClosePort();
    }
    probe.log = collected.Take();
    return probe;
}
