#pragma once

// The device side of the register protocol: finding request frames in the
// byte stream of the line, and building reply frames.
//
// Request: 0x61, four address bytes, read address (high byte first), read
// count, write address, write count, the written words (high byte first),
// CRC-16 low byte first. Reply: 0xE1, a station byte, three address bytes,
// read address, count, the words, optional tail bytes, CRC.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qmxsim {

inline constexpr uint8_t kRequestStart = 0x61;
inline constexpr uint8_t kReplyStart = 0xE1;
// Everything of a request but the written words.
inline constexpr std::size_t kRequestOverhead = 13;

struct Request {
    std::array<uint8_t, 4> address{};
    uint16_t readAddr = 0;
    uint8_t readCount = 0;
    uint16_t writeAddr = 0;
    std::vector<uint16_t> words; // as many as the write count byte says
};

// Bytes of a request frame with a correct CRC (the client's view of a frame,
// used by tests and for tracing).
std::string EncodeRequest(const Request& request);

// Collects line bytes and hands out the request frames among them.
//
// A frame's length follows from its write count byte, so a frame is taken
// only when a start byte, the length it claims and a matching CRC agree.
// Anything else is line noise and is skipped byte by byte, which finds the
// next frame however the garbage before it looked.
class RequestFramer {
public:
    void feed(std::string_view bytes);
    // The next complete, intact request, or nothing until more bytes arrive.
    std::optional<Request> next();
    // The line has gone quiet with a frame still incomplete: it will never be
    // completed, so drop its start byte(s) and look for a frame further on.
    // Without this a stray start byte would swallow the next real request.
    void lineIdle();

    std::size_t pending() const { return m_buffer.size(); }
    // Bytes dropped as noise since construction.
    std::size_t discarded() const { return m_discarded; }
    // Frame length of a request with this write count byte.
    static std::size_t frameLength(uint8_t writeCount) { return kRequestOverhead + 2u * writeCount; }

private:
    enum class Front { NeedMore, Frame, Noise };
    // Skips to the next start byte and judges the candidate frame there.
    Front examineFront();
    void drop(std::size_t count);

    std::string m_buffer;
    std::size_t m_discarded = 0;
};

// How a reply deviates from a correct one (the simulator's fault options).
struct ReplyShape {
    int addressOffset = 0;  // added to the echoed register address
    bool wrongCount = false; // echo one word more (one less for 255) than asked, with data to match
    int extraBytes = 0;     // zero bytes between the words and the CRC
    bool badCrc = false;
};

// A reply to `request` carrying `words` (the registers asked for).
// `station` fills the byte after the start byte, which clients do not examine.
std::string BuildReply(const Request& request, std::span<const uint16_t> words, uint8_t station,
                       const ReplyShape& shape = {});

} // namespace qmxsim
