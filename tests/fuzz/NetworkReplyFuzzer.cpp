// The bounded network reply: whatever a server sends from the request on,
// once or over and over without end, a transfer ends and takes in no more
// than the longest reply and the stale bytes allow; a line that never falls
// quiet is not tried again; and the exact reply to the request passes.
//
// Input: flags (bit 0 CRC, bit 1 the bytes come over and over), read count,
// retries, then the server's bytes.

#include "tests/fuzz/FuzzSupport.h"

#include "protocol/Tvep.h"

#include <algorithm>
#include <array>

namespace {

// A network line whose server answers each request with `bytes`: as fast as
// they are read, and then falls silent, or starts over without end.
class ServedLine final : public Line {
public:
    ServedLine(std::string bytes, bool endless) : m_bytes(std::move(bytes)), m_endless(endless) {}
    bool EndsRepliesWhenWhole() const override { return true; }
    bool WaitsOnceForFirstByte() const override { return true; }
    size_t served = 0;
    int requests = 0;

protected:
    bool openLine(const std::string&) override { return true; }
    void closeLine() override {}
    void writeBytes(const std::string&) override { ++requests, m_at = 0; }
    // Silence ends a wait at once: a closed connection, as far as time goes.
    Wait waitReadable(int) override { return waiting() ? Wait::Ready : Wait::Failed; }
    void readWaiting(int32_t most) override
    {
        for (int32_t i = 0; i < most && waiting(); ++i, ++served)
            RxBuffer += m_bytes[m_at++ % m_bytes.size()];
    }

private:
    bool waiting() const { return requests > 0 && !m_bytes.empty() && (m_endless || m_at < m_bytes.size()); }
    std::string m_bytes;
    bool m_endless;
    size_t m_at = 0;
};

struct ServedLines final : LineFactory {
    ServedLines(std::string served, bool over) : bytes(std::move(served)), endless(over) {}
    std::string bytes;
    bool endless;
    std::string PathOf(int32_t) const override { return "tcp://server:4001"; }
    std::unique_ptr<Line> Make(const std::string&) const override { return std::make_unique<ServedLine>(bytes, endless); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const uint8_t flags = in.byte();
    const bool withCrc = (flags & 1) != 0;
    const bool endless = (flags & 2) != 0;
    const uint8_t readCount = in.byte();
    const int32_t retries = in.byte() % (Tvep::MaxRetries + 1);
    const std::string bytes = in.rest();

    const ServedLines lines(bytes, endless);
    Tvep vep{lines};
    vep.Retries = retries;
    FUZZ_CHECK(vep.OpenPort(1, 9600, 'n'), "the served line opens");
    std::array<uint16_t, 256> words{};
    const int32_t result = vep.Transfer(0, 0, {}, 1500, readCount, words, withCrc);
    const auto& line = dynamic_cast<const ServedLine&>(vep.Serial());

    static constexpr std::array kResults{Tvep::Ok, Tvep::ErrNoReply, Tvep::ErrCrc, Tvep::ErrMismatch, Tvep::ErrLength};
    FUZZ_CHECK(std::find(kResults.begin(), kResults.end(), result) != kResults.end(), "result " + std::to_string(result));
    FUZZ_CHECK(line.requests >= 1 && line.requests <= 1 + retries, "requests " + std::to_string(line.requests));
    // Each attempt drops stale bytes, takes the reply, and waits for the
    // quiet line, each with its own bound.
    const size_t perAttempt = static_cast<size_t>(vep.LongestReply() + Tvep::ReplyMargin + 1)
        + 2 * static_cast<size_t>(Tvep::MaxStaleBytes + 1);
    FUZZ_CHECK(line.served <= perAttempt * static_cast<size_t>(line.requests),
               "served " + std::to_string(line.served) + " in " + std::to_string(line.requests) + " attempts");
    if (endless && !bytes.empty())
        FUZZ_CHECK(line.requests == 1 || result == Tvep::Ok, "a line that never falls quiet was tried again");
    if (!endless && vep.CheckReply(bytes, words) == Tvep::Ok)
        FUZZ_CHECK(result == Tvep::Ok, "the exact reply failed with " + std::to_string(result));
    return 0;
}
