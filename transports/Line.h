#pragma once

#include "transports/PortOpenProblem.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// What ends a receive besides the quiet line. Once `isWhole` accepts the
// bytes in hand, the next read waits only `settleMs`, and an empty one ends
// the receive; a byte that does come goes on as usual. When it accepts the
// empty start and no input waits, nothing is read. A receive that holds more
// than `longest` bytes (0: no such bound besides maxChars), or that is still
// going at `untilMs` (steady clock, see Line::NowMs; 0: no such time), ends
// there and counts as cut (Line::ReceiveCut).
struct WholeReply {
    std::function<bool(std::string_view)> isWhole;
    int32_t settleMs = 0;
    int32_t longest = 0;
    int64_t untilMs = 0;
};

// The line to the central device, whatever carries it: the serial object
// (TTavorobject) for a device file, a TCP line or an RFC 2217 line for a
// port of a serial device server (TcpLine.h, Rfc2217Line.h). The protocol
// client (Tvep) and the device sequences above it use only this.
//
// A template method: opening, closing, sending and reading are the same for
// every kind and live here once (the frame trace and the log lines, the
// default baud rate, the guard against exceptions, the line's state); a
// request goes out as one write, and a reply is collected byte by byte until
// the line has been quiet for three read time-outs (or as WholeReply allows).
// Each kind supplies only the five steps below: open, close, write bytes,
// read what is there, wait until something is.
//
// The public fields are the line's state as the protocol client and the
// diagnostics read it; only the member functions change them.
class Line {
public:
    // Read and write time-outs of a Windows-style serial driver, in this order.
    // Reads return as soon as one byte waits, otherwise after
    // ReadTotalTimeoutMultiplier ms per requested byte plus the constant.
    struct CommTimeouts {
        uint32_t ReadIntervalTimeout = 0;
        uint32_t ReadTotalTimeoutMultiplier = 0;
        uint32_t ReadTotalTimeoutConstant = 0;
        uint32_t WriteTotalTimeoutMultiplier = 0;
        uint32_t WriteTotalTimeoutConstant = 0;
    };

    // Line settings built from the mode string "Baud,parity,8,1".
    struct LineSettings {
        int32_t BaudRate = 0;
        char Parity = '\0'; // 'n', 'e', 'o', 'E' or 'O'
        int32_t DataBits = 0;
        int32_t StopBits = 0;
        std::string ModeString;
    };

    // The most bytes a line keeps that nobody has read yet, as a serial
    // driver's input queue: a server that sends more waits until they are read.
    static constexpr size_t MaxBufferedBytes = 4096;

    Line() = default;
    virtual ~Line() = default;
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // Closes any open port first, then opens COM `port` at `path` (a device
    // file, or the network address the port table gives it) at `baud`
    // (below 300 means 9600) with parity 'e'/'o'/'E'/'O' (anything else is
    // none). True when the port is open. A port that cannot be opened gives
    // false and leaves the reason in OpenProblem; nothing is shown here.
    bool OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity);
    // Closes, if open; always leaves PortNumber and Baud 0.
    void ClosePort();
    // One read of up to min(maxBytes, 254) bytes appended to RxBuffer; the
    // number read, 0 on time-out, failure or a closed port.
    int32_t ReadChunk(int32_t maxBytes);
    // Clears RxBuffer and writes `data`. A failed write is not reported: the
    // caller sees it as a missing reply.
    void SendString(const std::string& data);
    // True when input waits to be read, without waiting for any.
    bool InputWaiting();

    // One-byte reads give up after `ms` milliseconds (ms + 1 for 0 and 1).
    void SetReadTimeout(int32_t ms);
    // Collects bytes until three reads in a row come back empty (one before
    // the first byte where WaitsOnceForFirstByte), or until more than
    // maxChars bytes have arrived (maxChars < 1 means 99999), or as `whole`
    // allows. The first read waits firstTimeout ms; after every byte
    // the wait becomes charTimeout ms (a negative charTimeout keeps the first one).
    std::string ReceiveString(int32_t maxChars, int32_t firstTimeout, int32_t charTimeout,
                              const WholeReply& whole = {});
    // Called between short slices of a read wait, so that a window can repaint
    // while a silent device is being waited for. Empty by default.
    void SetWaitHook(std::function<void()> hook);
    const std::function<void()>& WaitHook() const { return m_waitHook; }
    // Once `stop` is set, every wait of the line ends at once as if its time
    // were up: a read under way runs to its end within a wait slice and
    // finds the line silent. For ending the reads of a fleet on Ctrl-C;
    // `stop` must outlive the line. None by default.
    void SetStop(const std::atomic<bool>* stop) { m_stop = stop; }
    const std::atomic<bool>* Stop() const { return m_stop; }
    // From `untilMs` on (steady clock, see NowMs; 0: never), every wait of
    // the line ends at once as if its time were up, as once `stop` is set: a
    // time-out may still be running, but whoever set the deadline no longer
    // waits for anything. The protocol client sets it for each of its waits
    // from what is left of its patience (Tvep::AnswerPatienceMs).
    void SetDeadline(int64_t untilMs) { m_deadlineMs = untilMs; }
    int64_t Deadline() const { return m_deadlineMs; }
    bool DeadlinePassed() const { return m_deadlineMs > 0 && NowMs() >= m_deadlineMs; }

    // The clock of WholeReply::untilMs: milliseconds of the steady clock.
    static int64_t NowMs();

    // --- What a kind may tell about itself ---

    // Called once at the start of each transfer, before stale input is
    // dropped: an RFC 2217 line has the server purge its buffers. Nothing
    // for the others.
    virtual void BeginTransfer() {}
    // Whether replies end as soon as they are whole, whatever the protocol
    // client's own setting (Tvep::FastReplyEnd): over a network the quiet
    // line says nothing, as packets come in bursts.
    virtual bool EndsRepliesWhenWhole() const { return false; }
    // How long the first byte of a reply is waited for, when the protocol
    // client asks for `asked` ms: a network line waits its own time-out.
    virtual int32_t FirstByteTimeout(int32_t asked) const { return asked; }
    // Whether a receive waits for its first byte once, for the whole
    // first-byte time-out, instead of for three quiet reads of it as on a
    // serial line: over a network a silent device costs the time-out, not
    // three times it.
    virtual bool WaitsOnceForFirstByte() const { return false; }
    // The far end of a network line, as "10.0.0.7:4001"; empty for a device file.
    virtual std::string Server() const { return {}; }

    int32_t PortNumber = 0; // 1 = COM1; 0 = closed
    int32_t Baud = 0;
    LineSettings Dcb;
    CommTimeouts Timeouts;
    std::string RxBuffer; // any byte value, NUL included
    // Why the last OpenPort failed; Cause::None after one that succeeded.
    PortOpenProblem OpenProblem;
    // Why the connection went away while the port was open (a network port
    // whose server closed it, or whose network failed), in the system's
    // words; empty while it holds, and for a device file. Cleared by the
    // next open.
    std::string LostReason;
    // Whether the last ReceiveString ended at one of its bounds (maxChars,
    // or WholeReply's longest or untilMs) rather than on a quiet line or a
    // whole reply: the line did not fall quiet.
    bool ReceiveCut = false;

protected:
    // How one wait of a kind ended.
    enum class Wait { Ready, TimedOut, Failed };

    // --- What each kind does in its own way ---

    // Opens `path` as COM PortNumber at Baud with the parity of Dcb (both
    // set already); true when the port is open. A failure leaves its reason
    // in OpenProblem; whatever was opened is closed by closeLine.
    virtual bool openLine(const std::string& path) = 0;
    // Closes whatever is open, if anything.
    virtual void closeLine() = 0;
    // Hands `data` to the line; a failure is not reported.
    virtual void writeBytes(const std::string& data) = 0;
    // Appends to RxBuffer up to `most` (at least 1) of the bytes that wait, without waiting.
    virtual void readWaiting(int32_t most) = 0;
    // Waits up to `ms` (0: not at all) until bytes wait to be read: Ready at
    // once when some do already.
    virtual Wait waitReadable(int ms) = 0;
    // What the log line of an open adds after the baud rate: the network
    // address of a network port. Empty for a device file, whose open ends
    // its frame trace with " OpenPort" instead.
    virtual std::string openLogNote(const std::string& /*path*/) const { return {}; }

    // --- Shared by the kinds ---

    // The wait of a one-byte read by the time-outs set, in ms.
    int readWaitMs(int32_t wanted) const;
    // Waits up to `ms` by calls of `once`, each given the milliseconds it
    // may wait; in slices, letting the window repaint between them, where a
    // wait hook is set. Returns how the last call ended.
    Wait waitInSlices(int ms, const std::function<Wait(int)>& once) const;

    std::function<void()> m_waitHook;
    const std::atomic<bool>* m_stop = nullptr;
    int64_t m_deadlineMs = 0;

private:
    bool stopped() const { return m_stop != nullptr && m_stop->load(std::memory_order_relaxed); }
    // Waits up to `ms` until input waits; false after the time, or at once
    // when the line fails.
    bool awaitInput(int ms);
    // The line settings of an open port: baud, parity, 8 data bits, 1 stop bit.
    void setLineSettings(int32_t baud, char parity);
};

// Where a COM number leads and which line goes there: the protocol client is
// given one (SystemLines() in LineFactory.h), so it carries no kind of line
// and no port table itself.
class LineFactory {
public:
    virtual ~LineFactory() = default;
    // The path behind COM `port`; empty when the number has no port.
    virtual std::string PathOf(int32_t port) const = 0;
    // The line for `path`: the serial object for a device file (or no path
    // yet), a network line for a network address.
    virtual std::unique_ptr<Line> Make(const std::string& path) const = 0;
};
