#pragma once

// Faults picked at random, one per transfer, for long soak runs of the
// program's receive path. The choices follow from the seed alone, so a run
// that went wrong can be repeated exactly; each one is described in a line
// the soak test compares its results against.

#include <cstdint>
#include <random>
#include <string>

namespace qmxsim {

enum class FaultKind {
    Clean,        // the correct reply
    BadCrc,       // the CRC does not match
    DropByte,     // one byte of the reply is lost
    DoubleByte,   // one byte of the reply comes twice
    Silence,      // no reply, and a write is not carried out
    Pause,        // the reply stops in the middle for a while
    ExtraBytes,   // 1 to 4 zero bytes before the CRC (2 and 4 are legal)
    Flood,        // bytes that never form a reply
    Noise,        // random bytes before the reply
    WrongAddress, // the register address echoed plus one
    WrongCount,   // the count echoed one off, with data to match
};

struct FaultChoice {
    FaultKind kind = FaultKind::Clean;
    // Byte position (drop, double, pause), byte count (extra bytes, flood,
    // noise), or nothing.
    int amount = 0;
    std::string noise; // the noise bytes

    // "clean", "bad-crc", "drop 7", "double 0", "silent", "pause 12 200",
    // "extra 3", "flood 900", "noise 5", "wrong-address", "wrong-count";
    // a pause names its position and its length in ms.
    std::string describe(int pauseMs) const;
};

class RandomFaults {
public:
    explicit RandomFaults(uint64_t seed);
    // The fault for a reply of `replyBytes` bytes.
    FaultChoice next(std::size_t replyBytes);

private:
    uint64_t below(uint64_t bound) { return m_random() % bound; }

    std::mt19937_64 m_random;
};

} // namespace qmxsim
