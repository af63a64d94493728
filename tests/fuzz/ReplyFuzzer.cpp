// Reply checking: any bytes, taken as the reply to a request chosen by the
// first input bytes. A reply is accepted only when it is the exact answer to
// that request, only the asked words are ever written, and the fast reply
// end agrees with the check on what a whole reply is.
//
// Input: flags (bit 0 CRC, bit 1 adds 256 to the capacity), the three address
// bytes, read address (high byte first), read count, capacity, then the reply.

#include "tests/fuzz/FuzzSupport.h"
#include "transports/LineFactory.h"

#include "protocol/Crc16.h"
#include "protocol/Tvep.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr uint16_t kUntouched = 0xA5C3;

uint8_t at(const std::string& bytes, std::size_t i)
{
    return static_cast<uint8_t>(bytes[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    Tvep vep{SystemLines()};
    const uint8_t flags = in.byte();
    vep.WithCrc = (flags & 1) != 0;
    vep.Addr1 = in.byte();
    vep.Addr2 = in.byte();
    vep.Addr3 = in.byte();
    vep.ReadAddr = in.word();
    vep.ReadCount = in.byte();
    const std::size_t capacity = in.byte() + ((flags & 2) != 0 ? 256u : 0u);
    const std::string reply = in.rest();

    // One word more than offered, to see that nothing is written past the span.
    std::vector<uint16_t> words(capacity + 1, kUntouched);
    const int32_t result = vep.CheckReply(reply, std::span(words).first(capacity));

    static constexpr std::array kResults{Tvep::Ok, Tvep::ErrCrc, Tvep::ErrMismatch, Tvep::ErrLength,
                                         Tvep::ErrCapacity};
    FUZZ_CHECK(std::find(kResults.begin(), kResults.end(), result) != kResults.end(),
               "result " + std::to_string(result));
    // The fast reply end takes bytes in hand for a whole reply only when
    // checking them would accept them: it never ends a reply too early.
    const bool whole = vep.IsCompleteReply(reply);
    const bool accepted = result == Tvep::Ok || result == Tvep::ErrCapacity;
    FUZZ_CHECK(whole == (vep.WithCrc && accepted), "whole " + std::to_string(whole) + ", result " + std::to_string(result));
    const std::size_t count = static_cast<std::size_t>(vep.ReadCount);
    const std::size_t written = result == Tvep::Ok ? count : 0;
    for (std::size_t i = written; i < words.size(); ++i)
        FUZZ_CHECK(words[i] == kUntouched, "word " + std::to_string(i) + " written, result " + std::to_string(result));
    if (result != Tvep::Ok)
        return 0;

    // Accepted: the frame is the answer to this very request.
    FUZZ_CHECK(count <= capacity, "more words than the buffer holds");
    const std::size_t crcBytes = vep.WithCrc ? 2 : 0;
    const std::size_t frame = 8 + 2 * count + crcBytes;
    const std::size_t tail = reply.size() - std::min(reply.size(), frame);
    FUZZ_CHECK(reply.size() >= frame && (tail == 0 || tail == 2 || tail == 4),
               "length " + std::to_string(reply.size()) + " for " + std::to_string(count) + " words");
    FUZZ_CHECK(at(reply, 0) == (vep.WithCrc ? 0xE1 : 0xE0), "start byte");
    std::string address;
    for (const uint8_t b : {vep.Addr1, vep.Addr2})
        if (b != 0)
            address += static_cast<char>(b);
    address += static_cast<char>(vep.Addr3);
    address.resize(3, '\0');
    FUZZ_CHECK(reply.substr(2, 3) == address, "address field " + Printable(reply.substr(2, 3)));
    FUZZ_CHECK(at(reply, 5) * 256 + at(reply, 6) == vep.ReadAddr && at(reply, 7) == count, "register or count");
    if (vep.WithCrc) {
        const uint16_t crc = Crc16(std::string_view(reply).substr(0, reply.size() - 2));
        FUZZ_CHECK(at(reply, reply.size() - 2) == (crc & 0xFF) && at(reply, reply.size() - 1) == crc >> 8, "CRC");
    }
    for (std::size_t i = 0; i < count; ++i)
        FUZZ_CHECK(words[i] == (at(reply, 8 + 2 * i) << 8 | at(reply, 9 + 2 * i)), "word " + std::to_string(i));
    return 0;
}
