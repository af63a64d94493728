#include "protocol/Tvep.h"

#include "protocol/Crc16.h"
#include "diag/ErrLog.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>

namespace {

constexpr char RequestStartCrc = 0x61;
constexpr char RequestStartPlain = 0x60;
constexpr uint8_t ReplyStartCrc = 0xE1;
constexpr uint8_t ReplyStartPlain = 0xE0;
constexpr size_t ReplyHeaderBytes = 8;   // start, one free byte, address field, register, count
constexpr size_t AddressFieldBytes = 4;  // in a request; a reply echoes the first three
constexpr int32_t SerialTrace = 8;       // debug bit of the frame trace and the failed attempts

void appendWord(std::string& frame, uint32_t word)
{
    frame += static_cast<char>((word >> 8) & 0xFF);
    frame += static_cast<char>(word & 0xFF);
}

void appendCrc(std::string& frame)
{
    const uint16_t crc = Crc16(frame);
    frame += static_cast<char>(crc & 0xFF);
    frame += static_cast<char>(crc >> 8);
}

std::string className(const std::exception& e)
{
    int status = 0;
    const char* mangled = typeid(e).name();
    std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && plain ? std::string(plain.get()) : std::string(mangled);
}

} // namespace

Tvep::Tvep(const LineFactory& lines)
    : m_lines(lines)
    , m_line(lines.Make(std::string()))
{
}

bool Tvep::OpenPort(int32_t port, int32_t baud, char parity)
{
    return OpenPortAt(port, m_lines.PathOf(port), baud, parity);
}

bool Tvep::OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity)
{
    // The line stays while the path names the same kind of line, so what
    // was set on it before (its wait hook) holds for every port it opens.
    if (std::unique_ptr<Line> line = m_lines.Make(path); typeid(*line) != typeid(*m_line)) {
        m_line->ClosePort();
        line->SetWaitHook(m_line->WaitHook());
        line->SetStop(m_line->Stop());
        line->SetDeadline(m_line->Deadline());
        m_line = std::move(line);
    }
    m_line->SetReadTimeout(0);
    tapPort(port, path);
    if (!m_line->OpenPortAt(port, path, baud, parity))
        return false;
    resumePatience();
    // A program stopped in the middle of a transfer leaves the rest of its
    // reply coming; heard out now, it cannot spoil the first transfer. That
    // takes a reply time-out and twice the longest reply at the line's pace
    // at the most: what keeps coming after that is no reply's rest.
    if (m_line->InputWaiting()) {
        awaitQuietLine(Line::NowMs() + ReplyTimeout + int64_t{MaxReplyBytes} * settleMs());
        m_line->SetReadTimeout(0);
    }
    pausePatience(false);
    return true;
}

void Tvep::ClosePort()
{
    m_line->ClosePort();
}

void Tvep::SetTimeouts(int32_t replyTimeout, int32_t charTimeout)
{
    ReplyTimeout = replyTimeout;
    CharTimeout = charTimeout;
}

std::string Tvep::addressField() const
{
    std::string field;
    if (Addr1 != 0)
        field += static_cast<char>(Addr1);
    if (Addr2 != 0)
        field += static_cast<char>(Addr2);
    field += static_cast<char>(Addr3);
    field.resize(AddressFieldBytes, '\0');
    return field;
}

std::string Tvep::BuildRequest(std::span<const uint16_t> sendData) const
{
    // The words come from the array alone: a count larger than the array
    // shrinks to it, in the count byte too, so the frame stays consistent.
    const int32_t count = static_cast<int32_t>(std::min<int64_t>(WriteCount, static_cast<int64_t>(sendData.size())));
    std::string frame;
    frame.reserve(13 + 2 * static_cast<size_t>(std::max(count, 0)));
    frame += WithCrc ? RequestStartCrc : RequestStartPlain;
    frame += addressField();
    appendWord(frame, static_cast<uint32_t>(ReadAddr));
    frame += static_cast<char>(ReadCount & 0xFF);
    appendWord(frame, static_cast<uint32_t>(WriteAddr));
    // Only the low byte fits; all words follow even past 255, and what the
    // device makes of such a frame is its own affair.
    frame += static_cast<char>(count & 0xFF);
    for (int32_t i = 0; i < count; ++i)
        appendWord(frame, sendData[static_cast<size_t>(i)]);
    if (WithCrc)
        appendCrc(frame);
    return frame;
}

int32_t Tvep::CheckReply(std::string_view reply, std::span<uint16_t> recvData) const
{
    const int32_t verdict = judgeReply(reply);
    if (verdict != Ok)
        return verdict;
    const auto byteAt = [&reply](size_t i) { return static_cast<uint8_t>(reply[i]); };
    const size_t count = byteAt(7);
    if (count > recvData.size())
        return ErrCapacity;
    for (size_t i = 0; i < count; ++i)
        recvData[i] = static_cast<uint16_t>(byteAt(8 + 2 * i) * 256 + byteAt(9 + 2 * i));
    return Ok;
}

bool Tvep::IsCompleteReply(std::string_view bytesInHand) const
{
    if (!WithCrc || ReadCount < 0)
        return false;
    // Only the three lengths a reply may have are worth a CRC.
    const int64_t bare = static_cast<int64_t>(ReplyHeaderBytes) + 2 * static_cast<int64_t>(ReadCount) + 2;
    const int64_t extra = static_cast<int64_t>(bytesInHand.size()) - bare;
    if (extra != 0 && extra != 2 && extra != 4)
        return false;
    return judgeReply(bytesInHand) == Ok;
}

int32_t Tvep::judgeReply(std::string_view reply) const
{
    const auto byteAt = [&reply](size_t i) { return static_cast<uint8_t>(reply[i]); };
    const size_t length = reply.size();
    if (length < ReplyHeaderBytes)
        return ErrLength;

    const int32_t count = byteAt(7);
    const int32_t returnedAddr = byteAt(5) * 256 + byteAt(6);
    int64_t payload = static_cast<int64_t>(length) - 5;

    // A damaged frame says nothing reliable about itself, so the CRC is judged
    // before its length or content.
    if (WithCrc) {
        const uint16_t crc = Crc16(reply.substr(0, length - 2));
        if (byteAt(length - 2) != (crc & 0xFF) || byteAt(length - 1) != (crc >> 8))
            return ErrCrc;
        payload -= 2;
    }

    // The device may append two or four bytes of its own after the words.
    const int64_t expected = 2 * static_cast<int64_t>(count) + 3;
    if (payload != expected && payload != expected + 2 && payload != expected + 4)
        return ErrLength;

    // Byte 1 is the device's own and is not examined.
    const bool startOk = byteAt(0) == (WithCrc ? ReplyStartCrc : ReplyStartPlain);
    const bool addressOk = reply.substr(2, 3) == std::string_view(addressField()).substr(0, 3);
    const bool registerOk = returnedAddr == ReadAddr;
    const bool countOk = count == ReadCount;
    if (!(startOk && addressOk && registerOk && countOk))
        return ErrMismatch;
    return Ok;
}

int32_t Tvep::LongestReply() const
{
    const int32_t words = std::clamp(ReadCount, 0, 255);
    return static_cast<int32_t>(ReplyHeaderBytes) + 2 * words + 4 + (WithCrc ? 2 : 0);
}

void Tvep::dropStaleInput(int64_t untilMs)
{
    // Three empty reads of about 1 ms each end the drop. A reply taken as
    // soon as it was whole usually leaves an empty line behind, which is
    // dropped at once; only when something did come after it is the line
    // listened to the same way, so that a device still talking is heard out.
    WholeReply emptyLine;
    if (fastReplyEnd())
        emptyLine.isWhole = [](std::string_view bytes) { return bytes.empty(); };
    emptyLine.longest = MaxStaleBytes;
    emptyLine.untilMs = untilMs;
    m_line->ReceiveString(0, 0, 0, emptyLine);
}

int32_t Tvep::settleMs() const
{
    // Start bit, eight data bits, parity, stop bit; at least the 1 ms a read can wait.
    const int32_t bitsPerChar = m_line->Dcb.Parity == 'n' ? 10 : 11;
    const int32_t baud = m_line->Baud > 0 ? m_line->Baud : 9600;
    return std::max<int32_t>(1, 2 * bitsPerChar * 1000 / baud);
}

int32_t Tvep::Transfer(int32_t writeAddr, int32_t writeCount, std::span<const uint16_t> sendData,
                       int32_t readAddr, int32_t readCount, std::span<uint16_t> recvData, bool withCrc)
{
    if (m_line->PortNumber <= 0)
        return ErrPortClosed;
    if (writeCount > static_cast<int64_t>(sendData.size()) || readCount > static_cast<int64_t>(recvData.size()))
        return ErrCapacity;

    WithCrc = withCrc;
    WriteAddr = writeAddr;
    WriteCount = writeCount;
    ReadAddr = readAddr;
    ReadCount = readCount;

    const int32_t attempts = 1 + std::clamp(Retries, 0, MaxRetries);
    int32_t result = Ok;
    resumePatience();
    for (int32_t attempt = 1; attempt <= attempts; ++attempt) {
        m_lineFellQuiet = true;
        result = transferOnce(sendData, recvData);
        tapAttemptEnd(attempt, result);
        // A line that never falls quiet would spoil every attempt after this one.
        if (result == Ok || !worthRepeating(result) || !m_lineFellQuiet)
            break;
        if (attempts > 1)
            logFailedAttempt(attempt, result);
    }
    pausePatience(result == Ok);
    return result;
}

bool Tvep::worthRepeating(int32_t result) const
{
    switch (result) {
    case ErrNoReply:
        return RetryWhenSilent;
    case ErrCrc:
    case ErrLength:
        return true;
    case ErrMismatch:
        // A write answered with a wrong echo was heard by something: it is
        // not sent again.
        return WriteCount == 0;
    default:
        // A closed port, a buffer too small: another attempt ends the same.
        return false;
    }
}

void Tvep::logFailedAttempt(int32_t attempt, int32_t result) const
{
    if (!DebugBit(SerialTrace))
        return;
    WriteErrLog("VEPtransfer Versuch " + std::to_string(attempt) + " von " + std::to_string(1 + std::clamp(Retries, 0, MaxRetries))
                + " fehlgeschlagen (lesen " + std::to_string(ReadAddr) + "/" + std::to_string(ReadCount) + ", schreiben "
                + std::to_string(WriteAddr) + "/" + std::to_string(WriteCount) + "): " + std::to_string(result) + " "
                + ResultText(result));
}

int32_t Tvep::transferOnce(std::span<const uint16_t> sendData, std::span<uint16_t> recvData)
{
    try {
        const std::string request = BuildRequest(sendData);
        // Bytes past the longest reply this request can earn are no reply;
        // the attempt is over when the longest one, each byte just within
        // its time-out, and the wait for the quiet line after it would be.
        const int32_t longest = std::min(LongestReply() + ReplyMargin, MaxReplyBytes);
        const int32_t firstByteTimeout = m_line->FirstByteTimeout(ReplyTimeout);
        const int64_t until =
            Line::NowMs() + firstByteTimeout + int64_t{longest} * std::max(CharTimeout, 1) + ReplyTimeout;
        // A late reply to an earlier request must not be taken for this one.
        m_line->BeginTransfer();
        dropStaleInput(until);
        m_line->SendString(request);
        tapRequest(request);
        WholeReply whole;
        if (fastReplyEnd())
            whole = {[this](std::string_view bytes) { return IsCompleteReply(bytes); }, settleMs()};
        // The receive has no length bound of its own, as ever; the reply's
        // bound is the longest one it can be.
        whole.longest = longest;
        whole.untilMs = until;
        const std::string reply = m_line->ReceiveString(0, firstByteTimeout, CharTimeout, whole);
        tapReply(reply);
        if (reply.empty())
            return ErrNoReply;
        const int32_t result =
            reply.size() > static_cast<size_t>(longest) ? ErrLength : CheckReply(reply, recvData);
        if (result != Ok)
            m_lineFellQuiet = awaitQuietLine(until);
        return result;
    } catch (const std::exception& e) {
        WriteErrLog("Exception VEPtransfer: " + className(e) + " " + e.what());
    } catch (...) {
        WriteErrLog("Exception VEPtransfer: unknown");
    }
    return ErrException;
}

bool Tvep::awaitQuietLine(int64_t untilMs)
{
    // The rest of a reply the device paused in, or the tail of a flood, would
    // otherwise arrive after the next request has gone out and spoil its
    // reply too. The line counts as quiet after three empty reads, so each
    // waits a third of the reply time-out.
    WholeReply bounded;
    bounded.longest = MaxStaleBytes;
    bounded.untilMs = untilMs;
    m_line->ReceiveString(0, std::max(ReplyTimeout / 3, 1), CharTimeout, bounded);
    return !m_line->ReceiveCut;
}

bool Tvep::fastReplyEnd() const
{
    return FastReplyEnd || m_line->EndsRepliesWhenWhole();
}

int64_t Tvep::wholePatience() const
{
    // A network line's first-byte time-out is the user's allowance for a
    // slow link (a serial line's is the one asked for, here none).
    return int64_t{AnswerPatienceMs} + std::max(m_line->FirstByteTimeout(0), 0);
}

void Tvep::resumePatience()
{
    if (AnswerPatienceMs <= 0)
        return;
    if (m_patienceLeftMs < 0)
        m_patienceLeftMs = wholePatience();
    m_line->SetDeadline(Line::NowMs() + m_patienceLeftMs);
}

void Tvep::pausePatience(bool goodReply)
{
    if (AnswerPatienceMs <= 0)
        return;
    const int64_t now = Line::NowMs();
    m_patienceLeftMs = goodReply ? wholePatience() : std::max<int64_t>(m_line->Deadline() - now, 0);
    m_line->SetDeadline(m_patienceLeftMs > 0 ? 0 : now);
}

const char* Tvep::ResultText(int32_t result)
{
    switch (result) {
    case Ok: return "ok";
    case ErrPortClosed: return "port not open";
    case ErrException: return "exception during the exchange";
    case ErrNoReply: return "no reply";
    case ErrCrc: return "CRC error";
    case ErrMismatch: return "reply does not match the request";
    case ErrLength: return "reply length wrong";
    case ErrCapacity: return "buffer too small";
    default: return "unknown result";
    }
}
