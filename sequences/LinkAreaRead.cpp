#include "sequences/LinkAreaRead.h"

#include "protocol/DeviceRegisters.h"
#include "model/Station.h"
#include "protocol/Tvep.h"

namespace R = DeviceRegisters;

LinkAreaRead ReadLinkArea(Tvep& vep, Station& station)
{
    if (!vep.OpenPort(station.ComPortNr, station.ComBaud, station.ComParity)) {
        LinkAreaRead closed;
        closed.outcome = Outcome::PortNotOpen;
        closed.transferResult = Tvep::ErrPortClosed;
        return closed;
    }
    LinkAreaRead read = ReadLinkAreaOnOpenPort(vep, station);
    vep.ClosePort();
    return read;
}

LinkAreaRead ReadLinkAreaOnOpenPort(Tvep& vep, TransferBuffers& buffers)
{
    LinkAreaRead read;
    vep.SetTimeouts(Tvep::DefaultReplyTimeout, Tvep::DefaultCharTimeout);
    read.transferResult = vep.Transfer(0, 0, {}, R::LinkArea, R::LinkAreaCount, buffers.receiveWords(), true);
    if (read.transferResult == Tvep::Ok)
        read.words.assign(buffers.ReceiveBuffer.begin(), buffers.ReceiveBuffer.begin() + R::LinkAreaCount);
    else
        read.outcome = Outcome::TransferFailed;
    return read;
}
