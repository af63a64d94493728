#include "sequences/LinkAreaRead.h"

#include "protocol/DeviceRegisters.h"
#include "sequences/PortSettings.h"
#include "sequences/TransferBuffers.h"
#include "protocol/Tvep.h"

namespace R = DeviceRegisters;

LinkAreaRead ReadLinkArea(Tvep& vep)
{
    if (!vep.OpenPort(ComPortNr, ComBaud, ComParity)) {
        LinkAreaRead closed;
        closed.outcome = DeviceOutcome::PortNotOpen;
        closed.transferResult = Tvep::ErrPortClosed;
        return closed;
    }
    LinkAreaRead read = ReadLinkAreaOnOpenPort(vep);
    vep.ClosePort();
    return read;
}

LinkAreaRead ReadLinkAreaOnOpenPort(Tvep& vep)
{
    LinkAreaRead read;
    vep.SetTimeouts(Tvep::DefaultReplyTimeout, Tvep::DefaultCharTimeout);
    read.transferResult = vep.Transfer(0, 0, {}, R::LinkArea, R::LinkAreaCount, receiveWords(), true);
    if (read.transferResult == Tvep::Ok)
        read.words.assign(ReceiveBuffer.begin(), ReceiveBuffer.begin() + R::LinkAreaCount);
    else
        read.outcome = DeviceOutcome::TransferFailed;
    return read;
}
