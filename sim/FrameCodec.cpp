#include "sim/FrameCodec.h"

#include "protocol/Crc16.h"

#include <algorithm>

namespace qmxsim {

namespace {

uint8_t byteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<uint8_t>(bytes[i]);
}

uint16_t wordAt(std::string_view bytes, std::size_t i)
{
    return static_cast<uint16_t>(byteAt(bytes, i) << 8 | byteAt(bytes, i + 1));
}

void appendByte(std::string& out, unsigned value)
{
    out.push_back(static_cast<char>(value & 0xFF));
}

void appendWord(std::string& out, unsigned value)
{
    appendByte(out, value >> 8);
    appendByte(out, value);
}

// CRC over everything so far, low byte first.
void appendCrc(std::string& out, bool corrupt = false)
{
    uint16_t crc = Crc16(out);
    if (corrupt)
        crc ^= 0xFFFF;
    appendByte(out, crc);
    appendByte(out, crc >> 8);
}

bool crcMatches(std::string_view frame)
{
    const std::size_t n = frame.size();
    const uint16_t carried = static_cast<uint16_t>(byteAt(frame, n - 2) | byteAt(frame, n - 1) << 8);
    return Crc16(frame.substr(0, n - 2)) == carried;
}

Request decodeRequest(std::string_view frame)
{
    Request request;
    for (std::size_t i = 0; i < request.address.size(); ++i)
        request.address[i] = byteAt(frame, 1 + i);
    request.readAddr = wordAt(frame, 5);
    request.readCount = byteAt(frame, 7);
    request.writeAddr = wordAt(frame, 8);
    const uint8_t writeCount = byteAt(frame, 10);
    request.words.reserve(writeCount);
    for (std::size_t i = 0; i < writeCount; ++i)
        request.words.push_back(wordAt(frame, 11 + 2 * i));
    return request;
}

} // namespace

std::string EncodeRequest(const Request& request)
{
    std::string out;
    appendByte(out, kRequestStart);
    for (const uint8_t b : request.address)
        appendByte(out, b);
    appendWord(out, request.readAddr);
    appendByte(out, request.readCount);
    appendWord(out, request.writeAddr);
    appendByte(out, static_cast<unsigned>(request.words.size()));
    for (const uint16_t w : request.words)
        appendWord(out, w);
    appendCrc(out);
    return out;
}

void RequestFramer::feed(std::string_view bytes)
{
    m_buffer.append(bytes);
}

void RequestFramer::drop(std::size_t count)
{
    m_buffer.erase(0, count);
    m_discarded += count;
}

RequestFramer::Front RequestFramer::examineFront()
{
    const std::size_t start = m_buffer.find(static_cast<char>(kRequestStart));
    drop(start == std::string::npos ? m_buffer.size() : start);
    if (m_buffer.size() < kRequestOverhead)
        return Front::NeedMore;
    // Only the low eight bits of a write count travel, so a client that asks
    // for more than 255 words sends a frame longer than its count byte says;
    // its CRC then sits elsewhere and the frame is refused as noise.
    const std::size_t length = frameLength(byteAt(m_buffer, 10));
    if (m_buffer.size() < length)
        return Front::NeedMore;
    return crcMatches(std::string_view(m_buffer).substr(0, length)) ? Front::Frame : Front::Noise;
}

std::optional<Request> RequestFramer::next()
{
    for (;;) {
        switch (examineFront()) {
        case Front::NeedMore:
            return std::nullopt;
        case Front::Noise:
            drop(1);
            break;
        case Front::Frame: {
            const std::size_t length = frameLength(byteAt(m_buffer, 10));
            Request request = decodeRequest(std::string_view(m_buffer).substr(0, length));
            m_buffer.erase(0, length);
            return request;
        }
        }
    }
}

void RequestFramer::lineIdle()
{
    // Drop candidates until an intact frame stands at the front or nothing is left.
    while (!m_buffer.empty()) {
        if (examineFront() == Front::Frame)
            return;
        if (!m_buffer.empty())
            drop(1);
    }
}

std::string BuildReply(const Request& request, std::span<const uint16_t> words, uint8_t station,
                       const ReplyShape& shape)
{
    std::vector<uint16_t> carried(words.begin(), words.end());
    if (shape.wrongCount) {
        if (carried.size() < 255)
            carried.push_back(0);
        else
            carried.pop_back();
    }

    std::string out;
    appendByte(out, kReplyStart);
    appendByte(out, station);
    for (std::size_t i = 0; i < 3; ++i)
        appendByte(out, request.address[i]);
    appendWord(out, static_cast<unsigned>(request.readAddr + shape.addressOffset));
    appendByte(out, static_cast<unsigned>(carried.size()));
    for (const uint16_t w : carried)
        appendWord(out, w);
    out.append(static_cast<std::size_t>(std::max(shape.extraBytes, 0)), '\0');
    appendCrc(out, shape.badCrc);
    return out;
}

} // namespace qmxsim
