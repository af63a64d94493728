// Fault soak: thousands of transfers through the program's protocol client
// against qmx-sim, which picks a fault at random for every reply and records
// it. Every second transfer ends a whole reply at once (the fast reply end),
// the others on the quiet line. Transfer by transfer the result must fit the
// fault: a clean reply gives 0 with exactly the device's words, a faulty one
// its own negative code and never 0 with wrong words; nothing of a reply is
// left on the line for the next transfer, and the receive buffers stay
// bounded.
//
//   kalmoria-soak [transfers [seed]]     (default 2000 transfers, seed 1)

#include "transports/TTavorobject.h"
#include "protocol/Tvep.h"
#include "sim/DeviceImage.h"
#include "tests/common/QmxSim.h"
#include "tests/common/TempDir.h"
#include "tests/soak/FaultLog.h"
#include "transports/LineFactory.h"

#include <QCoreApplication>
#include <QSerialPort>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <span>
#include <vector>

namespace {

// Short time-outs keep a run brief: a silent device costs three reply
// time-outs, a reply ends after three quiet character time-outs. The pause
// fault lasts well past that quiet, so it always cuts a reply in two.
constexpr int kReplyTimeoutMs = 60;
constexpr int kCharTimeoutMs = 5;
constexpr int kPauseMs = 45;
constexpr int kLogWaitMs = 5000;
constexpr uint16_t kUntouched = 0xA5C3;
constexpr int kReportedFailures = 20;

struct Area {
    uint16_t first;
    int count;
};
// Readable areas of the device; the link area also takes writes.
constexpr std::array kReadable{Area{1500, 20}, Area{2100, 64}, Area{30800, 1200}, Area{32000, 512}};
constexpr Area kLinkArea{30800, 1200};

struct Exchange {
    int writeAddr = 0;
    std::vector<uint16_t> written;
    int readAddr = 0;
    int readCount = 0;
};

class RequestPicker {
public:
    explicit RequestPicker(uint64_t seed)
        : m_random(seed)
    {
    }

    Exchange next()
    {
        Exchange e;
        const uint64_t shape = below(10); // 0..5 read, 6..7 write, 8..9 both
        if (shape >= 6) {
            const int count = 1 + static_cast<int>(below(252));
            e.writeAddr = kLinkArea.first + static_cast<int>(below(kLinkArea.count - count + 1));
            for (int i = 0; i < count; ++i)
                e.written.push_back(static_cast<uint16_t>(below(0x10000)));
        }
        if (shape < 6 || shape >= 8) {
            const Area& area = kReadable[below(kReadable.size())];
            // Station records too: module 0..64, 20 words each.
            const bool station = below(5) == 0;
            const Area a = station ? Area{static_cast<uint16_t>(5920 + 180 * below(65)), 20} : area;
            e.readCount = static_cast<int>(below(std::min(a.count, 255) + 1));
            e.readAddr = a.first + static_cast<int>(below(a.count - e.readCount + 1));
        }
        return e;
    }

private:
    uint64_t below(uint64_t bound) { return m_random() % bound; }
    std::mt19937_64 m_random;
};

// What the program must answer to one fault.
struct Expectation {
    std::set<int32_t> results;
    bool anyOk = false; // Ok is allowed (with the device's words)
};

Expectation expectationFor(const FaultRecord& fault)
{
    const std::string& k = fault.kind;
    if (k == "clean")
        return {{Tvep::Ok}, true};
    if (k == "extra")
        return fault.amount % 2 == 0 ? Expectation{{Tvep::Ok}, true} : Expectation{{Tvep::ErrLength}, false};
    if (k == "bad-crc")
        return {{Tvep::ErrCrc}, false};
    // A damaged frame fails its CRC; only if the damage happens to keep the
    // CRC right does its length give it away.
    if (k == "drop" || k == "double" || k == "noise" || k == "pause")
        return {{Tvep::ErrCrc, Tvep::ErrLength}, false};
    if (k == "silent")
        return {{Tvep::ErrNoReply}, false};
    if (k == "flood")
        return {{Tvep::ErrLength}, false};
    if (k == "wrong-address" || k == "wrong-count")
        return {{Tvep::ErrMismatch}, false};
    return {};
}

struct Tally {
    int tried = 0;
    std::map<int32_t, int> results;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int transfers = argc > 1 ? std::atoi(argv[1]) : 2000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    if (transfers < 1) {
        std::fprintf(stderr, "usage: kalmoria-soak [transfers [seed]]\n");
        return 2;
    }

    TempDir folder;
    const std::string image = QmxSim::binDir() + "/qmx-demo.ini";
    qmxsim::RegisterMap device; // what the simulated device holds, kept in step with the writes
    std::string error;
    if (!qmxsim::LoadDeviceImageFile(image, device, error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 1;
    }
    const std::string logPath = folder.file("faults.log");
    QmxSim sim(image, {"--random-faults", QString::number(seed), "--fault-log", QString::fromStdString(logPath),
                       "--pause-ms", QString::number(kPauseMs)});
    if (sim.path().empty()) {
        std::fprintf(stderr, "soak: qmx-sim did not start\n%s", sim.errorOutput().c_str());
        return 1;
    }
    folder.write("Kalmoria.ini", "[Schnittstellen]\r\nCOM1=" + sim.path() + "\r\n");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder.path()));

    Tvep vep{SystemLines()};
    if (!vep.OpenPort(1, 9600, 'n')) {
        std::fprintf(stderr, "soak: cannot open %s\n", sim.path().c_str());
        return 1;
    }
    vep.SetTimeouts(kReplyTimeoutMs, kCharTimeoutMs);
    FaultLog log(logPath);
    RequestPicker picker(seed);
    std::map<std::string, Tally> tally;
    std::array<uint16_t, 501> sendBuffer{};
    std::array<uint16_t, 501> receiveBuffer{};
    int failures = 0;
    auto fail = [&](int n, const std::string& fault, const std::string& what) {
        if (++failures <= kReportedFailures)
            std::fprintf(stderr, "soak: transfer %d (%s): %s\n", n, fault.c_str(), what.c_str());
    };

    // The soak runs on a pseudo-terminal: the line is the serial object.
    const auto serialPort = [&vep]() -> QSerialPort& { return *dynamic_cast<TTavorobject&>(vep.Serial()).Handle; };
    const auto start = std::chrono::steady_clock::now();
    for (int n = 1; n <= transfers; ++n) {
        const Exchange e = picker.next();
        std::copy(e.written.begin(), e.written.end(), sendBuffer.begin());
        receiveBuffer.fill(kUntouched);
        // Both ways of ending a reply, in turn.
        vep.FastReplyEnd = n % 2 == 0;
        const auto span = std::span(receiveBuffer).first(500);
        const int32_t result = vep.Transfer(e.writeAddr, static_cast<int>(e.written.size()),
                                            std::span(sendBuffer).first(500), e.readAddr, e.readCount, span, true);
        // What the program holds once the transfer is over.
        const qint64 held = static_cast<qint64>(vep.Serial().RxBuffer.size()) + serialPort().bytesAvailable();

        const std::optional<FaultRecord> fault = log.next(kLogWaitMs);
        if (!fault || fault->transfer != n) {
            fail(n, fault ? fault->line : "no record", "the simulator's record is out of step");
            break;
        }
        Tally& t = tally[fault->kind];
        ++t.tried;
        ++t.results[result];

        const Expectation expected = expectationFor(*fault);
        if (!expected.results.contains(result))
            fail(n, fault->line, std::string("result ") + std::to_string(result) + " (" + Tvep::ResultText(result) + ")");
        if (fault->kind != "silent")
            device.write(static_cast<uint16_t>(e.writeAddr), e.written);
        const std::vector<uint16_t> words = *device.read(static_cast<uint16_t>(e.readAddr), e.readCount);
        const std::size_t filled = result == Tvep::Ok ? words.size() : 0;
        if (result == Tvep::Ok && !std::equal(words.begin(), words.end(), receiveBuffer.begin()))
            fail(n, fault->line, "0 with words that the device does not hold");
        if (std::any_of(receiveBuffer.begin() + static_cast<std::ptrdiff_t>(filled), receiveBuffer.end(),
                        [](uint16_t w) { return w != kUntouched; }))
            fail(n, fault->line, "words written that were not asked for or not received");
        if (held > Tvep::MaxStaleBytes)
            fail(n, fault->line, std::to_string(held) + " bytes held after the transfer");

        // The simulator has sent all of its reply when it writes the record:
        // the program must have taken it all.
        qint64 left = serialPort().bytesAvailable();
        if (left == 0 && serialPort().waitForReadyRead(5))
            left = serialPort().bytesAvailable();
        serialPort().clearError();
        if (left > 0) {
            fail(n, fault->line, std::to_string(left) + " bytes left on the line for the next transfer");
            serialPort().readAll();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("%-15s %6s  results\n", "fault", "tried");
    int total = 0;
    for (const auto& [kind, t] : tally) {
        std::printf("%-15s %6d ", kind.c_str(), t.tried);
        for (const auto& [result, count] : t.results)
            std::printf(" %d x %s;", count, Tvep::ResultText(result));
        std::printf("\n");
        total += t.tried;
    }
    std::printf("soak: %d transfers in %.1f s (%.1f ms each), seed %llu, %d failed\n", total, seconds,
                total > 0 ? 1000.0 * seconds / total : 0.0, static_cast<unsigned long long>(seed), failures);
    return failures == 0 && total == transfers ? 0 : 1;
}
