#pragma once

#include "protocol/FrameTap.h"
#include "transports/Line.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

// Client side of the central device's register protocol. One transfer is one
// request frame, which writes a block of consecutive 16-bit registers and/or
// asks for a block, answered by one reply frame carrying the asked registers.
// The PC always starts, with at most one request outstanding. A transfer
// that fails on the line may be repeated here (Retries, off by default); what
// a failure that remains means is for the device sequences to decide.
//
// The line below it is whatever the port's path names, as the line factory
// it is given makes it (Line.h): the serial object for a device file, a TCP
// or RFC 2217 line for a network port. Which one it is matters to nobody above.
//
// Register words are passed in spans whose size is the capacity the transfer
// may use: the device sequences keep 501-word buffers and pass the first 500.
class Tvep {
public:
    // Transfer results. Callers only tell 0 from non-zero; the codes go into
    // their log lines.
    static constexpr int32_t Ok = 0;
    static constexpr int32_t ErrPortClosed = -1;
    static constexpr int32_t ErrException = -2;
    static constexpr int32_t ErrNoReply = -10;
    static constexpr int32_t ErrCrc = -20;
    static constexpr int32_t ErrMismatch = -21;   // start byte, address field, register or count
    static constexpr int32_t ErrLength = -22;     // too short, not fitting the count, or overlong
    static constexpr int32_t ErrCapacity = -23;   // a count larger than its buffer

    // A short English description of a result code, for our own logs and the
    // command-line program ("no reply", "CRC error", ...).
    static const char* ResultText(int32_t result);

    // The longest reply any request can earn: header, 255 words, the largest
    // tolerated tail and the CRC. A receive stops one byte past it, so a
    // device that never falls silent cannot hold the program forever.
    static constexpr int32_t MaxReplyBytes = 8 + 2 * 255 + 4 + 2;
    // How much stale input is dropped before a request: the most a serial
    // driver's input queue holds. Bounded for the same reason.
    static constexpr int32_t MaxStaleBytes = 4096;
    // What a reply may have beyond the longest it can be (LongestReply) before
    // its receive ends: a transfer gives up after that many bytes, or when the
    // longest reply, each byte just within the character time-out, and the
    // quiet line after it would be over, whichever comes first. A line that
    // did not fall quiet by then is not tried again.
    static constexpr int32_t ReplyMargin = 16;

    static constexpr int32_t DefaultReplyTimeout = 500; // ms to the first reply byte
    static constexpr int32_t DefaultCharTimeout = 50;   // ms between reply bytes

    // `lines` maps COM numbers and makes the line for a port's path
    // (SystemLines() in LineFactory.h); it must outlive the client.
    explicit Tvep(const LineFactory& lines);

    // Every frame of this client goes to `tap` (none: to nobody); the tap
    // must outlive the client.
    void TapFramesInto(FrameTap* tap) { m_frameTap = tap; }
    FrameTap* FrameTapUsed() const { return m_frameTap; }

    // Opens the line with its read time-out reset; see Line::OpenPortAt.
    // Input already waiting is stale (an earlier transfer that was broken
    // off): it is dropped until the line has been quiet for about a reply
    // time-out.
    bool OpenPort(int32_t port, int32_t baud, char parity);
    // The same with the path looked up already; the line becomes the kind
    // the path names, keeping the wait hook of the one before.
    bool OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity);
    void ClosePort();
    // (500, 50) for ordinary transfers, (1500, 50) before 128-word reads.
    void SetTimeouts(int32_t replyTimeout, int32_t charTimeout);

    // One exchange: writes sendData[0 .. writeCount-1] to the registers from
    // writeAddr and reads readCount registers from readAddr into recvData.
    // Returns Ok with recvData[0 .. readCount-1] filled, or a negative code
    // with recvData untouched. Never throws. A reply that does not check out
    // costs about one reply time-out more: whatever of it is still coming is
    // let pass first, so that it cannot spoil the next transfer.
    int32_t Transfer(int32_t writeAddr, int32_t writeCount, std::span<const uint16_t> sendData,
                     int32_t readAddr, int32_t readCount, std::span<uint16_t> recvData,
                     bool withCrc);

    // The request frame for the current fields. Takes at most sendData.size()
    // words, whatever WriteCount says.
    std::string BuildRequest(std::span<const uint16_t> sendData) const;
    // Validates a reply against the current fields and, when it is good,
    // copies its words into recvData. Ok or a result code.
    int32_t CheckReply(std::string_view reply, std::span<uint16_t> recvData) const;
    // True when the bytes in hand are already a whole good reply to the
    // current request: ReadCount words, no, two or four extra bytes, a
    // matching echo and CRC. Never for the variant without a CRC, where
    // nothing tells a whole reply from the start of a longer one.
    bool IsCompleteReply(std::string_view bytesInHand) const;
    // The longest reply the current request can earn: header, ReadCount
    // words, the largest tolerated tail and the CRC.
    int32_t LongestReply() const;

    // How often a transfer that failed on the line (no reply, a broken or a
    // wrong reply) is repeated, once the line is quiet: 0 (the default) sends
    // each request once, up to MaxRetries. A write is repeated only when its
    // reply was missing or broken: writing the same words again is harmless.
    // With debug bit 8 each failed attempt that counts is logged.
    static constexpr int32_t MaxRetries = 5;
    static constexpr int32_t DefaultRetries = 2; // what the front ends offer first
    int32_t Retries = 0;
    // Whether a transfer that met silence is repeated; a port probe says no,
    // for there silence is the answer.
    bool RetryWhenSilent = true;

    // How long the client may wait on the line without a good reply: the
    // transfers and the drain of an opened port count, the time between them
    // (the caller's work, a question to the user) does not. Once it is used
    // up, every wait of the line ends at once (Line::SetDeadline), so each
    // transfer still asked for fails at once. Each good reply grants it
    // anew, so a long read of a healthy device never comes near it; a device
    // that chatters without ever answering, or whose every transfer fails
    // only at the end of its own bound, holds the caller no longer than this.
    // A network port's own first-byte time-out comes on top. 0 (the
    // default): no such bound.
    int32_t AnswerPatienceMs = 0;
    // What an unattended program grants: a healthy line answers a request
    // within its reply time-out and the line time of the reply, under 1 s;
    // even a name block whose first attempt met silence (three reply
    // time-outs of 1.5 s) is answered within 5 s. A device that says nothing
    // valid for longer is not going to.
    static constexpr int32_t UnattendedAnswerPatienceMs = 6000;

    // Off (the default): a reply ends when the line has been quiet for three
    // character time-outs, about 150 ms after its last byte. On: it also ends
    // as soon as the bytes in hand are a whole good reply and no further byte
    // follows within two character times; any other reply still ends on the
    // quiet line, so results are the same either way. A network line ends
    // replies this way whatever this says (Line::EndsRepliesWhenWhole).
    bool FastReplyEnd = false;

    bool WithCrc = false;
    uint8_t Addr1 = 0;
    uint8_t Addr2 = 0;
    uint8_t Addr3 = 0;
    int32_t ReplyTimeout = DefaultReplyTimeout;
    int32_t CharTimeout = DefaultCharTimeout;
    int32_t WriteAddr = 0;
    int32_t WriteCount = 0;
    int32_t ReadAddr = 0;
    int32_t ReadCount = 0;

    // The line the transfers run on; the factory's line for no path until a port is opened.
    Line& Serial() { return *m_line; }
    const Line& Serial() const { return *m_line; }

private:
    // One attempt of Transfer, with the fields already set.
    int32_t transferOnce(std::span<const uint16_t> sendData, std::span<uint16_t> recvData);
    // Whether a failed attempt is worth another.
    bool worthRepeating(int32_t result) const;
    void logFailedAttempt(int32_t attempt, int32_t result) const;
    // The checks of CheckReply short of the buffer: Ok or a result code.
    int32_t judgeReply(std::string_view reply) const;
    // Empties the input of anything a device sent after an earlier reply,
    // until `untilMs` (Line::NowMs) at the latest.
    void dropStaleInput(int64_t untilMs);
    // How long a whole reply waits for a byte behind it: two characters.
    int32_t settleMs() const;

    // After a reply that did not check out: drops what still comes until the
    // line has been quiet for about a reply time-out (at most MaxStaleBytes,
    // until `untilMs` at the latest). Whether the line fell quiet.
    bool awaitQuietLine(int64_t untilMs);
    // The address bytes as a frame carries them: the non-zero ones of Addr1
    // and Addr2, then Addr3, padded with zeros.
    std::string addressField() const;
    // Whether this transfer ends its reply once it is whole.
    bool fastReplyEnd() const;
    // A wait on the line begins: its deadline is what is left of the
    // patience (see AnswerPatienceMs).
    void resumePatience();
    // The wait has ended: a good reply grants the whole patience again,
    // else what is left is kept. Between waits the line has no deadline,
    // unless the patience is used up: then every later wait ends at once.
    void pausePatience(bool goodReply);
    int64_t wholePatience() const;

    // The frame tap (FrameTap.h; TvepTap.cpp): the port's name as it opens,
    // the request as sent, the reply as it came, and at the attempt's end
    // the reply with the attempt's result. Nothing while nobody listens.
    bool tapListening() const;
    void tapPort(int32_t port, const std::string& path);
    void tapRequest(std::string_view request);
    void tapReply(std::string_view reply);
    void tapAttemptEnd(int32_t attempt, int32_t result);
    struct TapState {
        std::string port;
        std::string reply;
        int64_t replyUs = 0;
    };
    TapState m_tap;
    FrameTap* m_frameTap = nullptr;

    const LineFactory& m_lines;
    std::unique_ptr<Line> m_line;
    bool m_lineFellQuiet = true; // after the last attempt of a transfer
    int64_t m_patienceLeftMs = -1; // -1: no wait on the line yet
};
