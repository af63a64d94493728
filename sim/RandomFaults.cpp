#include "sim/RandomFaults.h"

namespace qmxsim {

namespace {

// Out of every 14 transfers four are clean, so runs of faults and clean
// replies follow each other in every combination.
constexpr int kCleanWeight = 4;
constexpr int kFaultKinds = 10;
constexpr int kLongestNoise = 8;
constexpr int kShortestFlood = 600; // more than the longest reply of the protocol
constexpr int kLongestFlood = 2000;

} // namespace

std::string FaultChoice::describe(int pauseMs) const
{
    const std::string n = std::to_string(amount);
    switch (kind) {
    case FaultKind::Clean: return "clean";
    case FaultKind::BadCrc: return "bad-crc";
    case FaultKind::DropByte: return "drop " + n;
    case FaultKind::DoubleByte: return "double " + n;
    case FaultKind::Silence: return "silent";
    case FaultKind::Pause: return "pause " + n + " " + std::to_string(pauseMs);
    case FaultKind::ExtraBytes: return "extra " + n;
    case FaultKind::Flood: return "flood " + n;
    case FaultKind::Noise: return "noise " + n;
    case FaultKind::WrongAddress: return "wrong-address";
    case FaultKind::WrongCount: return "wrong-count";
    }
    return "unknown";
}

RandomFaults::RandomFaults(uint64_t seed)
    : m_random(seed)
{
}

FaultChoice RandomFaults::next(std::size_t replyBytes)
{
    FaultChoice choice;
    const uint64_t pick = below(kCleanWeight + kFaultKinds);
    if (pick < kCleanWeight)
        return choice;
    choice.kind = static_cast<FaultKind>(pick - kCleanWeight + 1);
    switch (choice.kind) {
    case FaultKind::DropByte:
    case FaultKind::DoubleByte:
        choice.amount = static_cast<int>(below(replyBytes));
        break;
    case FaultKind::Pause:
        // Somewhere inside: at least one byte before and after it.
        choice.amount = static_cast<int>(1 + below(replyBytes - 1));
        break;
    case FaultKind::ExtraBytes:
        choice.amount = static_cast<int>(1 + below(4));
        break;
    case FaultKind::Flood:
        choice.amount = static_cast<int>(kShortestFlood + below(kLongestFlood - kShortestFlood + 1));
        break;
    case FaultKind::Noise:
        choice.amount = static_cast<int>(1 + below(kLongestNoise));
        for (int i = 0; i < choice.amount; ++i)
            choice.noise += static_cast<char>(below(256));
        break;
    default:
        break;
    }
    return choice;
}

} // namespace qmxsim
