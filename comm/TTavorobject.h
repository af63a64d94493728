#pragma once

#include "comm/PortAccess.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QSerialPort;

// A way for a receive to end before the line falls quiet: once `isWhole`
// accepts the bytes in hand, the next read waits only `settleMs`, and an
// empty one ends the receive; a byte that does come goes on as usual.
// When it accepts the empty start and no input waits, nothing is read.
struct WholeReply {
    std::function<bool(std::string_view)> isWhole;
    int32_t settleMs = 0;
};

// One RS232 port, used synchronously: a request goes out as one write, and a
// reply is collected byte by byte until the line has been quiet for three
// read time-outs. It knows nothing of the register protocol above it.
//
// The public fields are the port's state as the protocol client and the
// diagnostics read it; only the member functions change them.
class TTavorobject {
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

    TTavorobject();
    ~TTavorobject();
    TTavorobject(const TTavorobject&) = delete;
    TTavorobject& operator=(const TTavorobject&) = delete;

    // Closes any open port first, then opens COM `port` (mapped to a device
    // path by comPortPath) exclusively (see LineLock.h) at `baud` (below 300 means 9600) with
    // parity 'e'/'o'/'E'/'O' (anything else is none). True when the port is
    // open. A port that is absent, unmapped or in use gives false and leaves
    // the reason in OpenProblem; nothing is shown here.
    bool OpenPort(int32_t port, int32_t baud, char parity);
    // The same with the device path of COM `port` looked up already: a probe
    // running beside others must not read the port table itself.
    bool OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity);
    // Drops RTS and DTR and closes, if open; always leaves PortNumber and Baud 0.
    void ClosePort();
    // One-byte reads give up after `ms` milliseconds (ms + 1 for 0 and 1).
    void SetReadTimeout(int32_t ms);
    void SetLines(bool rts, bool dtr);
    // One read of up to min(maxBytes, 254) bytes appended to RxBuffer; the
    // number read, 0 on time-out, failure or a closed port.
    int32_t ReadChunk(int32_t maxBytes);
    // Clears RxBuffer and writes `data`. A failed write is not reported: the
    // caller sees it as a missing reply.
    void SendString(const std::string& data);
    // Collects bytes until three reads in a row come back empty, or until more
    // than maxChars bytes have arrived (maxChars < 1 means 99999), or as
    // `whole` allows. The first read waits firstTimeout ms; after every byte
    // the wait becomes charTimeout ms (a negative charTimeout keeps the first one).
    std::string ReceiveString(int32_t maxChars, int32_t firstTimeout, int32_t charTimeout,
                              const WholeReply& whole = {});
    // True when input waits to be read, without waiting for any.
    bool InputWaiting();

    // Called between short slices of a read wait, so that a window can repaint
    // while a silent device is being waited for. Empty by default.
    void SetWaitHook(std::function<void()> hook);

    int32_t PortNumber = 0; // 1 = COM1; 0 = closed
    std::unique_ptr<QSerialPort> Handle;
    int32_t Baud = 0;
    LineSettings Dcb;
    CommTimeouts Timeouts;
    bool Rts = false;
    bool Dtr = false;
    std::string RxBuffer; // any byte value, NUL included
    // Why the last OpenPort failed; Cause::None after one that succeeded.
    PortOpenProblem OpenProblem;

private:
    bool openAndConfigure(int32_t port, const std::string& path, int32_t baud, char parity);
    bool waitForByte(int msecs);

    std::function<void()> m_waitHook;
};
