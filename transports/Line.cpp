#include "transports/Line.h"

#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <exception>

namespace {

constexpr int32_t SerialTrace = 8;        // debug bit of the frame trace
constexpr int32_t UnboundedChars = 99999; // "no limit" for a receive
constexpr int32_t QuietReads = 3;         // empty reads in a row that end a reply
constexpr int32_t LowestBaud = 300;       // below this the line runs at the default
constexpr int32_t DefaultBaud = 9600;
constexpr int32_t MaxChunk = 254;         // the most one read may ask for
constexpr int WaitSliceMs = 20;           // how often a waiting read lets the window repaint

} // namespace

int64_t Line::NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool Line::OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity)
{
    bool result = false;
    try {
        if (DebugBit(SerialTrace))
            WriteErrLog("+ReOpenPort");
        // Always reopen, even the same port: the line settings may differ.
        ClosePort();
        OpenProblem = {};
        LostReason.clear();
        if (baud < LowestBaud)
            baud = DefaultBaud;
        if (port >= 1) {
            PortNumber = port;
            setLineSettings(baud, parity);
            result = openLine(path);
        }
        const std::string note = openLogNote(path);
        if (DebugFlag())
            WriteErrLog("Com=" + IntToText(port) + ": " + BoolText(result) + "  Baud=" + IntToText(baud) + note);
        if (DebugBit(SerialTrace) && note.empty())
            WriteErrLog(" OpenPort");
    } catch (const std::exception& e) {
        WriteErrLog(std::string("OpenPort: Exception ") + e.what());
        result = false;
    } catch (...) {
        WriteErrLog("OpenPort: Exception unknown");
        result = false;
    }
    if (result) {
        SetReadTimeout(0);
        return true;
    }
    // A half-opened port after an exception must not look usable, and a
    // session that broke while it began is a port that did not open, not
    // one whose connection was lost.
    PortNumber = 0;
    ClosePort();
    LostReason.clear();
    if (OpenProblem.cause == PortOpenProblem::Cause::None)
        OpenProblem.cause = PortOpenProblem::Cause::Unknown;
    return false;
}

void Line::ClosePort()
{
    if (PortNumber > 0 && DebugFlag())
        WriteErrLog("CLOSE COM" + IntToText(PortNumber));
    closeLine();
    PortNumber = 0;
    Baud = 0;
}

int32_t Line::ReadChunk(int32_t maxBytes)
{
    if (PortNumber <= 0)
        return 0;
    const int32_t wanted = std::min(maxBytes, MaxChunk);
    if (wanted < 1 || !awaitInput(readWaitMs(wanted)))
        return 0;
    const size_t before = RxBuffer.size();
    readWaiting(wanted);
    return static_cast<int32_t>(RxBuffer.size() - before);
}

void Line::SendString(const std::string& data)
{
    if (PortNumber <= 0)
        return;
    RxBuffer.clear();
    if (DebugBit(SerialTrace))
        WriteErrLog("  RS+: " + HexDump(data));
    writeBytes(data);
}

bool Line::InputWaiting()
{
    return PortNumber > 0 && awaitInput(0);
}

Line::Wait Line::waitInSlices(int ms, const std::function<Wait(int)>& once) const
{
    const int64_t asked = NowMs() + std::max(ms, 0);
    const int64_t end = m_deadlineMs > 0 ? std::min(asked, m_deadlineMs) : asked;
    const bool sliced = m_waitHook || m_stop != nullptr;
    for (;;) {
        if (stopped() || DeadlinePassed())
            return Wait::TimedOut;
        const int64_t left = std::max<int64_t>(end - NowMs(), 0);
        const Wait waited = once(static_cast<int>(sliced ? std::min<int64_t>(left, WaitSliceMs) : left));
        if (waited != Wait::TimedOut || NowMs() >= end)
            return waited;
        if (m_waitHook)
            m_waitHook();
    }
}

bool Line::awaitInput(int ms)
{
    return waitInSlices(ms, [this](int slice) { return waitReadable(slice); }) == Wait::Ready;
}

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
    // More bytes than a reply can have are no reply, whatever is still coming.
    const size_t most = whole.longest > 0 ? static_cast<size_t>(std::min(whole.longest, maxChars))
                                          : static_cast<size_t>(maxChars);
    RxBuffer.clear();
    ReceiveCut = false;
    int32_t idle = 0;
    int32_t count = 0;
    // A whole reply with nothing behind it needs no quiet reads. Input that
    // is whole before a byte came (an empty line, when that is all that is
    // wanted) needs no read at all while nothing waits.
    bool settling = whole.isWhole && whole.isWhole(RxBuffer);
    const bool nothingToRead = settling && !InputWaiting();
    int32_t readMs = firstTimeout;
    if (!nothingToRead) {
        do {
            if (whole.untilMs > 0) {
                const int64_t left = whole.untilMs - NowMs();
                if (left <= 0) {
                    ReceiveCut = true;
                    break;
                }
                SetReadTimeout(static_cast<int32_t>(std::min<int64_t>(readMs, left)));
            } else {
                SetReadTimeout(readMs);
            }
            count = ReadChunk(1);
            if (count == 0 && settling)
                break;
            if (count == 0 && RxBuffer.empty() && WaitsOnceForFirstByte())
                break;
            idle = count == 0 ? idle + 1 : 0;
            if (count > 0) {
                settling = whole.isWhole && whole.isWhole(RxBuffer);
                if (settling)
                    readMs = whole.settleMs;
                else if (charTimeout >= 0)
                    readMs = charTimeout;
            }
        } while (idle < QuietReads && RxBuffer.size() <= most);
        ReceiveCut = ReceiveCut || RxBuffer.size() > most;
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
