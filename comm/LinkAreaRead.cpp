#include "comm/LinkAreaRead.h"

#include "comm/DeviceRegisters.h"
#include "comm/PortSettings.h"
#include "comm/TransferBuffers.h"
#include "comm/Tvep.h"

namespace R = DeviceRegisters;

LinkAreaRead ReadLinkArea(Tvep& vep)
{
    LinkAreaRead read;
    read.transferResult = Tvep::ErrPortClosed;
    if (vep.OpenPort(ComPortNr, ComBaud, ComParity)) {
        vep.SetTimeouts(Tvep::DefaultReplyTimeout, Tvep::DefaultCharTimeout);
        read.transferResult = vep.Transfer(0, 0, {}, R::LinkArea, R::LinkAreaCount, receiveWords(), true);
        vep.ClosePort();
    }
    if (read.transferResult == Tvep::Ok)
        read.words.assign(ReceiveBuffer.begin(), ReceiveBuffer.begin() + R::LinkAreaCount);
    return read;
}
