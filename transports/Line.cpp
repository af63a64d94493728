#include "transports/Line.h"

#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int32_t SerialTrace = 8;        // debug bit of the frame trace
constexpr int32_t UnboundedChars = 99999; // "no limit" for a receive
constexpr int32_t QuietReads = 3;         // empty reads in a row that end a reply

} // namespace

void Line::SetReadTimeout(int32_t ms)
{
    // The driver adds 1 ms per requested byte, so one-byte reads wait ms in all.
    // A negative time would mean waiting for ever; it counts as 0.
    const int32_t constant = ms > 1 ? ms - 1 : std::max(ms, 0);
    Timeouts.ReadIntervalTimeout = 0xFFFFFFFF;
    Timeouts.ReadTotalTimeoutMultiplier = 1;
    Timeouts.ReadTotalTimeoutConstant = static_cast<uint32_t>(constant);
    Timeouts.WriteTotalTimeoutMultiplier = 1;
    Timeouts.WriteTotalTimeoutConstant = 0;
}

int Line::readWaitMs(int32_t wanted) const
{
    const int64_t wait = int64_t{Timeouts.ReadTotalTimeoutMultiplier} * wanted + Timeouts.ReadTotalTimeoutConstant;
    return static_cast<int>(std::min<int64_t>(wait, INT_MAX));
}

void Line::setLineSettings(int32_t baud, char parity)
{
    Baud = baud;
    Dcb.BaudRate = baud;
    Dcb.Parity = (parity == 'e' || parity == 'o' || parity == 'E' || parity == 'O') ? parity : 'n';
    Dcb.DataBits = 8;
    Dcb.StopBits = 1;
    Dcb.ModeString = IntToText(baud) + "," + Dcb.Parity + ",8,1";
}

void Line::SetWaitHook(std::function<void()> hook)
{
    m_waitHook = std::move(hook);
}

std::string Line::ReceiveString(int32_t maxChars, int32_t firstTimeout, int32_t charTimeout, const WholeReply& whole)
{
    if (maxChars < 1)
        maxChars = UnboundedChars;
    RxBuffer.clear();
    int32_t idle = 0;
    int32_t count = 0;
    // A whole reply with nothing behind it needs no quiet reads. Input that
    // is whole before a byte came (an empty line, when that is all that is
    // wanted) needs no read at all while nothing waits.
    bool settling = whole.isWhole && whole.isWhole(RxBuffer);
    const bool nothingToRead = settling && !InputWaiting();
    SetReadTimeout(firstTimeout);
    if (!nothingToRead) {
        do {
            count = ReadChunk(1);
            if (count == 0 && settling)
                break;
            if (count == 0 && RxBuffer.empty() && WaitsOnceForFirstByte())
                break;
            idle = count == 0 ? idle + 1 : 0;
            if (count > 0) {
                settling = whole.isWhole && whole.isWhole(RxBuffer);
                if (settling)
                    SetReadTimeout(whole.settleMs);
                else if (charTimeout >= 0)
                    SetReadTimeout(charTimeout);
            }
        } while (idle < QuietReads && RxBuffer.size() <= static_cast<size_t>(maxChars));
    }

    if (DebugBit(SerialTrace)) {
        WriteErrLog("  RX iCnt: " + IntToText(count) + ", Len: " + IntToText(static_cast<int32_t>(RxBuffer.size()))
                    + ", iMaxZeichen: " + IntToText(maxChars));
        WriteErrLog("  RS-: " + HexDump(RxBuffer));
    }
    std::string reply;
    reply.swap(RxBuffer);
    return reply;
}
