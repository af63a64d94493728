// The Telnet side of an RFC 2217 port: any bytes from a server, fed in pieces
// of any size. The data and the answers do not depend on how the bytes were
// cut, every answer is a plain option command, an overlong subnegotiation
// is told alike, no more data comes out than went in, and what this end
// sends is read back as sent.
//
// Input: the piece size (plus one), flags (bit 0: the server has agreed to
// the opening already), then the server's bytes.

#include "tests/fuzz/FuzzSupport.h"

#include "transports/Telnet.h"

#include <algorithm>
#include <string>

namespace {

using namespace telnet;

Session started(bool agreed)
{
    Session session;
    session.Opening();
    if (agreed) {
        const std::string yes{static_cast<char>(IAC), static_cast<char>(DO), static_cast<char>(BINARY),
                              static_cast<char>(IAC), static_cast<char>(WILL), static_cast<char>(BINARY),
                              static_cast<char>(IAC), static_cast<char>(DO), static_cast<char>(SGA),
                              static_cast<char>(IAC), static_cast<char>(WILL), static_cast<char>(SGA),
                              static_cast<char>(IAC), static_cast<char>(DO), static_cast<char>(COM_PORT_OPTION)};
        session.Receive(yes);
        session.TakeAnswers();
    }
    return session;
}

// Each answer is IAC and one of WILL, WONT, DO, DONT with an option.
bool onlyOptionCommands(const std::string& answers)
{
    if (answers.size() % 3 != 0)
        return false;
    for (std::size_t i = 0; i < answers.size(); i += 3) {
        const auto verb = static_cast<uint8_t>(answers[i + 1]);
        if (static_cast<uint8_t>(answers[i]) != IAC || verb < WILL || verb > DONT)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const std::size_t piece = in.byte() + 1u;
    const bool agreed = (in.byte() & 1) != 0;
    const std::string received = in.rest();

    Session whole = started(agreed);
    const std::string wholeData = whole.Receive(received);
    const std::string wholeAnswers = whole.TakeAnswers();

    Session cut = started(agreed);
    std::string cutData;
    std::string cutAnswers;
    for (std::size_t at = 0; at < received.size(); at += piece) {
        cutData += cut.Receive(std::string_view(received).substr(at, piece));
        cutAnswers += cut.TakeAnswers();
    }
    FUZZ_CHECK(cutData == wholeData, "data " + Printable(cutData) + " cut, " + Printable(wholeData) + " whole");
    FUZZ_CHECK(cutAnswers == wholeAnswers, "answers " + Printable(cutAnswers) + " cut, " + Printable(wholeAnswers));
    FUZZ_CHECK(cut.Settled() == whole.Settled(), "settled differs");
    // A subnegotiation without end is told, however it was cut.
    FUZZ_CHECK(cut.Overrun() == whole.Overrun(), "overrun differs");
    FUZZ_CHECK(!whole.Overrun() || received.size() > Session::LongestSubnegotiation, "overrun too soon");
    FUZZ_CHECK(wholeData.size() <= received.size(), "more data than bytes");
    FUZZ_CHECK(onlyOptionCommands(wholeAnswers), "answers " + Printable(wholeAnswers));
    for (uint8_t command = 1; command <= PURGE_DATA; ++command)
        FUZZ_CHECK(whole.Answer(command) == cut.Answer(command), "answer to command " + std::to_string(command));

    // What this end sends, as a server in binary mode reads it.
    const std::string sent = whole.Escape(wholeData);
    if (whole.Ours(BINARY) == Session::State::Yes) {
        Session peer = started(true);
        FUZZ_CHECK(peer.Receive(sent) == wholeData, "escaped " + Printable(sent));
    }
    FUZZ_CHECK(std::count(sent.begin(), sent.end(), static_cast<char>(IAC)) % 2 == 0, "a lone IAC sent");
    return 0;
}
