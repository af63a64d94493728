// The simulator's frame reader: bytes from the line arrive in pieces, with
// quiet gaps between some of them. Every request it hands out must be a frame
// that really stood in the stream, no byte may be lost from the count, and
// the bytes it holds back stay below one frame. Then the two round trips
// between the program and the simulator: the program's request, read by the
// simulator, and the simulator's reply, checked by the program.
//
// Input: a chunk length byte (0 = the line falls quiet) followed by that many
// bytes, repeated. The last bytes double as the fields of the round trips.

#include "tests/fuzz/FuzzSupport.h"
#include "transports/LineFactory.h"

#include "protocol/Tvep.h"
#include "sim/FrameCodec.h"

#include <vector>

using namespace qmxsim;

namespace {

const std::size_t kLongestFrame = RequestFramer::frameLength(255);

void checkRequestFrames(const uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    RequestFramer framer;
    std::string stream;
    std::size_t taken = 0;
    auto collect = [&] {
        while (const std::optional<Request> request = framer.next()) {
            const std::string frame = EncodeRequest(*request);
            FUZZ_CHECK(frame.size() == RequestFramer::frameLength(static_cast<uint8_t>(request->words.size())),
                       "frame length");
            // The frame lies in the stream where the reader stood, after the noise it skipped.
            const std::size_t from = framer.discarded() + taken;
            FUZZ_CHECK(stream.compare(from, frame.size(), frame) == 0,
                       "request not in the stream: " + Printable(frame));
            taken += frame.size();
        }
        FUZZ_CHECK(framer.pending() < kLongestFrame, "holds " + std::to_string(framer.pending()) + " bytes");
        FUZZ_CHECK(framer.discarded() + taken + framer.pending() == stream.size(), "bytes lost from the count");
    };
    while (!in.atEnd()) {
        const uint8_t length = in.byte();
        if (length == 0) {
            framer.lineIdle();
            // Quiet: a frame at the front is complete, or nothing is held at all.
            FUZZ_CHECK(framer.pending() == 0 || framer.pending() >= kRequestOverhead, "idle left a fragment");
        } else {
            const std::string chunk = in.bytes(length);
            stream += chunk;
            framer.feed(chunk);
        }
        collect();
    }
}

// Fields for the round trips from the input's last bytes.
class Tail {
public:
    Tail(const uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }
    uint8_t byte() { return m_used < m_size ? m_data[m_size - ++m_used] : 0; }
    uint16_t word() { return static_cast<uint16_t>(byte() << 8 | byte()); }

private:
    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_used = 0;
};

void checkRoundTrips(const uint8_t* data, std::size_t size)
{
    Tail in(data, size);
    Tvep vep{SystemLines()};
    vep.WithCrc = true;
    vep.Addr1 = in.byte();
    vep.Addr2 = in.byte();
    vep.Addr3 = in.byte();
    vep.ReadAddr = in.word();
    vep.ReadCount = in.byte();
    vep.WriteAddr = in.word();
    vep.WriteCount = in.byte();
    std::vector<uint16_t> sent(static_cast<std::size_t>(vep.WriteCount));
    for (uint16_t& w : sent)
        w = in.word();
    const std::string request = vep.BuildRequest(sent);

    // The program's request, cut where the input says, reaches the simulator whole.
    RequestFramer framer;
    const std::size_t cut = in.byte() % (request.size() + 1);
    framer.feed(std::string_view(request).substr(0, cut));
    const std::optional<Request> early = framer.next();
    FUZZ_CHECK(!early || cut == request.size(), "a request from part of a frame");
    framer.feed(std::string_view(request).substr(cut));
    const std::optional<Request> got = early ? early : framer.next();
    FUZZ_CHECK(got.has_value(), "request not found: " + Printable(request));
    FUZZ_CHECK(got->readAddr == vep.ReadAddr && got->readCount == vep.ReadCount && got->writeAddr == vep.WriteAddr
                   && got->words == sent,
               "request fields changed: " + Printable(request));
    FUZZ_CHECK(EncodeRequest(*got) == request, "request bytes differ");
    FUZZ_CHECK(framer.pending() == 0 && framer.discarded() == 0, "bytes left over");

    // The simulator's reply, with the tail it may add, is what the program asked for.
    std::vector<uint16_t> words(static_cast<std::size_t>(vep.ReadCount));
    for (uint16_t& w : words)
        w = in.word();
    ReplyShape shape;
    shape.extraBytes = 2 * (in.byte() % 3);
    const std::string reply = BuildReply(*got, words, in.byte(), shape);
    std::vector<uint16_t> received(256, 0);
    const int32_t result = vep.CheckReply(reply, received);
    FUZZ_CHECK(result == Tvep::Ok, "reply refused with " + std::to_string(result) + ": " + Printable(reply));
    FUZZ_CHECK(std::equal(words.begin(), words.end(), received.begin()), "reply words differ");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    checkRequestFrames(data, size);
    checkRoundTrips(data, size);
    return 0;
}
