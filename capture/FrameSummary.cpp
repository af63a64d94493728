#include "capture/FrameSummary.h"

#include "protocol/Crc16.h"

#include <cstdint>

namespace {

constexpr size_t RequestHeaderBytes = 11; // start, address field, read register and count, write register and count
constexpr size_t ReplyHeaderBytes = 8;    // start, one free byte, address field, register, count
constexpr char Times = '\xD7';            // the multiplication sign

uint8_t byteAt(std::string_view frame, size_t i)
{
    return static_cast<uint8_t>(frame[i]);
}

std::string block(const char* what, std::string_view frame, size_t at, size_t count)
{
    return std::string(what) + " " + std::to_string(byteAt(frame, at) * 256 + byteAt(frame, at + 1)) + " " + Times
           + std::to_string(count);
}

std::string crcVerdict(std::string_view frame)
{
    const uint16_t crc = Crc16(frame.substr(0, frame.size() - 2));
    const bool ok = byteAt(frame, frame.size() - 2) == (crc & 0xFF) && byteAt(frame, frame.size() - 1) == (crc >> 8);
    return ok ? ", CRC ok" : ", CRC bad";
}

std::string requestSummary(std::string_view frame, bool withCrc)
{
    const size_t end = frame.size() - (withCrc ? 2 : 0);
    // The words on the line count, not the count byte: a write of more than
    // 255 words carries only the low byte of its count.
    const size_t writeWords = (end - RequestHeaderBytes) / 2;
    const size_t readCount = byteAt(frame, 7);
    std::string text;
    if (readCount > 0 || writeWords == 0)
        text = block("read", frame, 5, readCount);
    if (writeWords > 0)
        text += (text.empty() ? "" : ", ") + block("write", frame, 8, writeWords);
    return text;
}

} // namespace

std::string FrameSummary(std::string_view frame)
{
    if (frame.empty())
        return {};
    const uint8_t start = byteAt(frame, 0);
    const bool withCrc = (start & 0x01) != 0;
    std::string text;
    if ((start == 0x60 || start == 0x61) && frame.size() >= RequestHeaderBytes + (withCrc ? 2 : 0))
        text = requestSummary(frame, withCrc);
    else if ((start == 0xE0 || start == 0xE1) && frame.size() >= ReplyHeaderBytes + (withCrc ? 2 : 0))
        text = block("reply", frame, 5, byteAt(frame, 7));
    else
        return "? " + std::to_string(frame.size()) + " bytes";
    return withCrc ? text + crcVerdict(frame) : text;
}
