// Network servers that never form a reply: each costs a bounded time and a
// bounded number of bytes taken in, while a slow but valid reply still passes.

#include "protocol/Tvep.h"
#include "sequences/ConnectionDoctor.h"
#include "tests/common/TempDir.h"
#include "tests/common/TinyServer.h"
#include "tests/common/Frames.h"
#include "transports/LineFactory.h"
#include "transports/Telnet.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include <sched.h>
#include <sys/mount.h>

using Clock = std::chrono::steady_clock;

namespace {

int64_t msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

const std::vector<uint16_t> kConfiguration{0x3301, 0, 815, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr size_t kMiB = 1u << 20;
constexpr int32_t kAnyFailure = 1; // no result code of Tvep

// A server that sends `head`, then `body` over and over, `step` bytes every
// `pauseMs`, until `total` bytes are out: from the connection on, or from
// the client's first request. Then it holds the connection silently.
struct Stream {
    std::string head;
    std::string body;
    size_t total = 0;
    size_t step = 64 * 1024;
    int pauseMs = 0;
    bool atOnce = false;
    std::atomic<size_t> sent{0};

    void operator()(int fd, const std::atomic<bool>& stopping)
    {
        // Only what the client takes in is counted, not what a large buffer here holds.
        const int small = 64 * 1024;
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
        char request[64];
        while (!atOnce && !stopping && ::recv(fd, request, sizeof request, MSG_DONTWAIT) < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sent += static_cast<size_t>(std::max<ssize_t>(::send(fd, head.data(), head.size(), MSG_NOSIGNAL), 0));
        std::string cycle;
        while (cycle.size() < step + body.size())
            cycle += body;
        for (size_t at = 0; !stopping && sent < total;) {
            pollfd entry{fd, POLLOUT, 0};
            const ssize_t n = ::poll(&entry, 1, 20) <= 0
                ? 0
                : ::send(fd, cycle.data() + at, std::min(step, total - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno != EAGAIN)
                return;
            sent += static_cast<size_t>(std::max<ssize_t>(n, 0));
            at = (at + static_cast<size_t>(std::max<ssize_t>(n, 0))) % body.size();
            std::this_thread::sleep_for(std::chrono::milliseconds(n > 0 ? pauseMs : 0));
        }
        TinyServer::HoldSilently(fd, stopping);
    }
};

// One hostile (or merely slow) server, and what reading the configuration
// through it must come to, as `kalmoria-cli info` reads it, repeats included.
struct Hostile {
    const char* what;
    std::string scheme, options, head, body;
    size_t total, step;
    int pauseMs;
    bool atOnce;
    int32_t result; // a result code of Tvep, or kAnyFailure
    int64_t leastMs, mostMs;
    size_t mostSent;
    const char* reason; // the line's LostReason or OpenProblem, where one is given
};

int32_t openAndRead(Tvep& vep, const std::string& address)
{
    vep.Retries = Tvep::DefaultRetries;
    std::array<uint16_t, 20> words{};
    return vep.OpenPortAt(1, address, 9600, 'n') ? vep.Transfer(0, 0, {}, 1500, 20, words, true) : Tvep::ErrPortClosed;
}

} // namespace

TEST(BoundedNetworkLine, WhatNeverFormsAReplyCostsLittleTimeAndIsNotTakenIn)
{
    using namespace telnet;
    const std::string reply = replyFrame(1500, kConfiguration);
    const std::vector<Hostile> servers{
        {"a flood", "tcp", "", "", bytes({0xE1, 0}), 1024 * kMiB, 65536, 0, false, Tvep::ErrLength, 0, 2000, 8 * kMiB, ""},
        {"a 20 MB reply", "tcp", "", "", "\xE1", 20 * kMiB, 65536, 0, false, Tvep::ErrLength, 0, 2000, 8 * kMiB, ""},
        // Every byte within the character time-out, never a reply, never a quiet line.
        {"20 bytes a second", "tcp", "?timeout=300", "", "\xE1", 10000, 1, 50, true, kAnyFailure, 0, 8000, 200, ""},
        {"a valid reply, slowly", "tcp", "", "", reply, reply.size(), 1, 30, false, Tvep::Ok,
         30 * static_cast<int64_t>(reply.size()) - 100, 5000, reply.size(), ""},
        {"an endless subnegotiation", "rfc2217", "", bytes({IAC, SB, COM_PORT_OPTION, SET_BAUDRATE + ServerOffset}), "x",
         1024 * kMiB, 65536, 0, true, kAnyFailure, 0, 1000, 8 * kMiB, "the server sends a Telnet subnegotiation without end"},
        {"a Telnet port on tcp://", "tcp", "", "", bytes({IAC, WILL, BINARY, IAC, DO, BINARY}), 6, 6, 0, true, kAnyFailure, 0, 1000,
         6, "the server speaks Telnet (an RFC 2217 port is rfc2217://)"},
    };
    for (const Hostile& hostile : servers) {
        Stream stream{hostile.head, hostile.body, hostile.total, hostile.step, hostile.pauseMs, hostile.atOnce};
        const TinyServer server(std::ref(stream));
        Tvep vep{SystemLines()};
        const auto start = Clock::now();
        const int32_t result = openAndRead(vep, server.address(hostile.scheme, hostile.options));
        const int64_t ms = msSince(start);
        EXPECT_EQ(result == Tvep::Ok, hostile.result == Tvep::Ok) << hostile.what << ": " << result;
        if (hostile.result != kAnyFailure) {
            EXPECT_EQ(result, hostile.result) << hostile.what;
        }
        EXPECT_GE(ms, hostile.leastMs) << hostile.what;
        EXPECT_LT(ms, hostile.mostMs) << hostile.what;
        EXPECT_LE(stream.sent, hostile.mostSent) << hostile.what;
        EXPECT_EQ(vep.Serial().LostReason + vep.Serial().OpenProblem.reason, hostile.reason) << hostile.what;
    }
}

TEST(BoundedNetworkLine, TheDoctorEndsOnAFloodToo)
{
    Stream flood{"", bytes({0xE1, 0}), 1024 * kMiB, 65536, 0, true};
    const TinyServer server(std::ref(flood));
    const auto start = Clock::now();
    const std::vector<PortCheckup> checkups = CheckPorts({{1, server.address()}});
    EXPECT_LT(msSince(start), 3000);
    ASSERT_EQ(checkups.size(), 1u);
    EXPECT_FALSE(checkups[0].answered);
    EXPECT_LT(flood.sent, 8 * kMiB);
}

// The name is looked up within the address's time-out: a name server that
// never answers (a local one, in a mount namespace of this test's own) costs
// that time, while a name the hosts file knows still connects.
TEST(BoundedNetworkLine, ASilentNameServerCostsTheTimeOut)
{
    const int silent = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(53);
    where.sin_addr.s_addr = htonl(0x7F530001); // 127.83.0.1
    if (::bind(silent, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0)
        GTEST_SKIP() << "no local name server to be had: " << std::strerror(errno);
    TempDir folder;
    folder.write("resolv.conf", "nameserver 127.83.0.1\n");
    const TinyServer server(TinyServer::HoldSilently);
    Tvep vep{SystemLines()};
    bool own = false;
    std::thread([&] {
        // The view of /etc/resolv.conf changes for this thread alone.
        own = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            && ::mount(folder.file("resolv.conf").c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr) == 0;
        if (!own)
            return;
        const auto start = Clock::now();
        EXPECT_FALSE(vep.OpenPortAt(1, "tcp://qmx-station.invalid:4001?timeout=300", 9600, 'n'));
        EXPECT_LT(msSince(start), 1000);
        EXPECT_GE(msSince(start), 290);
        EXPECT_EQ(vep.Serial().OpenProblem.reason, "no address for qmx-station.invalid within 300 ms");
        EXPECT_TRUE(vep.OpenPortAt(1, "tcp://localhost:" + std::to_string(server.port()), 9600, 'n'));
    }).join();
    ::close(silent);
    if (!own)
        GTEST_SKIP() << "no mount namespace of its own to be had";
}
