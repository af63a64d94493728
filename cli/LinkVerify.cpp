#include "cli/LinkVerify.h"

#include "comm/DeviceRegisters.h"
#include "comm/PortSettings.h"
#include "comm/TransferBuffers.h"
#include "comm/Tvep.h"

namespace R = DeviceRegisters;

LinkAreaCheck CheckLinkArea(Tvep& vep)
{
    LinkAreaCheck check;
    check.transferResult = Tvep::ErrPortClosed;
    if (vep.OpenPort(ComPortNr, ComBaud, ComParity)) {
        vep.SetTimeouts(Tvep::DefaultReplyTimeout, Tvep::DefaultCharTimeout);
        check.transferResult = vep.Transfer(0, 0, {}, R::LinkArea, R::LinkAreaCount, receiveWords(), true);
        vep.ClosePort();
    }
    if (check.transferResult != Tvep::Ok)
        return check;
    // The write is refused beyond the link area, so the links and the end slot fit it.
    for (int32_t n = 1; n <= AnzBefehle + 1 && n <= R::DeviceLinkSlots; ++n) {
        const auto first = static_cast<std::size_t>(4 * (n - 1));
        const DeviceLinkWords read{ReceiveBuffer[first], ReceiveBuffer[first + 1], ReceiveBuffer[first + 2],
                                   ReceiveBuffer[first + 3]};
        const DeviceLinkWords written = n <= AnzBefehle ? EncodeLinkWords(LinkTable[static_cast<std::size_t>(n)])
                                                        : DeviceLinkWords{kEndSlotWord, kEndSlotWord, kEndSlotWord,
                                                                          kEndSlotWord};
        if (read.r1 != written.r1 || read.r2 != written.r2 || read.r3 != written.r3 || read.r4 != written.r4) {
            check.mismatchedSlot = n;
            check.readBack = read;
            check.written = written;
            return check;
        }
    }
    return check;
}
