#include "comm/PortSearch.h"

#include "comm/ComPortMap.h"
#include "comm/DeviceConfiguration.h"
#include "comm/DeviceRegisters.h"
#include "comm/PortSettings.h"
#include "comm/TransferBuffers.h"
#include "comm/TransferProgress.h"
#include "comm/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "model/DeviceValues.h"
#include "comm/ShellView.h"

#include <algorithm>
#include <array>

namespace R = DeviceRegisters;

PortSearchResult SearchComPort(std::unique_ptr<Tvep>& client, ShellView& view)
{
    PortSearchResult result;
    ComPortNr = 1;
    // The new client ends replies the way the one it replaces did.
    const bool fastReplyEnd = client && client->FastReplyEnd;
    client = std::make_unique<Tvep>();
    client->FastReplyEnd = fastReplyEnd;
    client->Serial.SetWaitHook([&view] { view.Repaint(); });

    // Each port with a device path is one probe; the others cost nothing.
    std::array<bool, MaxComPort + 1> hasPath{};
    for (int32_t port = 1; port <= MaxComPort; ++port)
        hasPath[static_cast<std::size_t>(port)] = !comPortPath(port).empty();
    TransferProgress progress(&view, static_cast<int>(std::count(hasPath.begin(), hasPath.end(), true)));

    // Every port is tried: with devices on several ports the highest wins.
    for (int32_t port = 1; port <= MaxComPort; ++port) {
        if (client->OpenPort(port, ComBaud, ComParity)) {
            if (DebugFlag())
                WriteErrLog("find Comport:" + IntToText(port));
            const DeviceConfiguration configuration = ReadConfiguration(*client);
            // Taken also after a failed transfer, when the buffer still holds
            // an earlier reply: the status bar then shows the last type word
            // seen, as the device's service tools always have. Only a good
            // reply can select the port.
            DeviceType = ReceiveBuffer[R::TypeWord];
            if (configuration.answered()) {
                DeviceAddress = configuration.address;
                if (!configuration.accepted()) {
                    if (DebugBit(32))
                        WriteErrLog("L09 - Falsches oder kein Ger\xE4t - Modultyp: " + IntToText(DeviceType));
                } else {
                    ComPortNr = port;
                    result.devices.push_back({port, configuration.type, configuration.serialNumber, DeviceAddress});
                    if (DebugFlag())
                        WriteErrLog("QMX_Typ (1506): " + IntToText(DeviceType) + " ist an Comport " + IntToText(port)
                                    + " angeschlossen");
                }
            } else if (DebugBit(32)) {
                WriteErrLog("L08 - keine Modul");
            }
        }
        client->ClosePort();
        if (hasPath[static_cast<std::size_t>(port)])
            progress.Step();
    }
    DeviceAddress = 0;
    view.ShowStatus();
    ComBaud = 9600;
    ComParity = 'n';
    result.chosenPort = ComPortNr;
    return result;
}
