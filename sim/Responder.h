#pragma once

// The device's answering rules, with the faults a test can switch on.

#include "sim/FrameCodec.h"
#include "sim/RandomFaults.h"
#include "sim/RegisterMap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qmxsim {

struct Faults {
    bool silent = false;        // never answer
    bool badCrc = false;        // corrupt the CRC of every reply
    bool wrongAddress = false;  // echo the register address plus one
    bool wrongCount = false;    // echo a word count one off, with data to match
    int extraBytes = 0;         // zero bytes before the CRC (2 and 4 are legal)
    int pauseMs = 0;            // stop this long in the middle of every reply
    int failFrom = 0;           // from this transfer on (1 = the first) stay silent; 0 = never
    bool hasFailRange = false;  // stay silent for requests touching failFirst..failLast
    uint16_t failFirst = 0;
    uint16_t failLast = 0;
    int floodBytes = 0;         // answer with this many bytes that never form a reply
    bool ignoreWrites = false;  // acknowledge writes but keep the registers as they were
    // When either is set, the reply faults above (silent to flood) hit only
    // these transfers (1 = the first) and every failEvery-th one; a chosen
    // transfer without a reply fault of its own goes unanswered.
    std::vector<int> failTransfers;
    int failEvery = 0;
    // Instead of the reply faults above: one picked at random per transfer
    // from the seed (see RandomFaults); pauseMs is then the length of a pause.
    bool randomFaults = false;
    uint64_t randomSeed = 0;
};

// The pause of a randomly picked pause fault when no length is given.
inline constexpr int kDefaultRandomPauseMs = 200;

// What goes back on the line for one request.
struct Answer {
    std::string bytes;
    std::size_t pauseAfter = 0; // bytes sent before the pause
    int pauseMs = 0;
};

class Responder {
public:
    Responder(RegisterMap& map, const Faults& faults);

    // The reply to one intact request, or nothing when the device stays
    // silent. A request touching a register the device does not have, or
    // writing one it does not let be written, is not answered and changes
    // nothing, also when only its read part or only its write part is wrong.
    std::optional<Answer> answer(const Request& request);

    // Intact requests seen so far, answered or not.
    int transfers() const { return m_transfers; }
    // With random faults: what the last request got (FaultChoice::describe,
    // or "refused" for a request the device cannot serve). Empty otherwise.
    const std::string& lastFault() const { return m_lastFault; }

private:
    bool inFailRange(const Request& request) const;
    // The reply faults for the transfer now served: all of them, or none
    // when the faults are kept for chosen transfers and this is not one.
    Faults replyFaultsNow() const;
    Answer randomAnswer(const FaultChoice& choice, const Request& request, const std::vector<uint16_t>& words) const;
    uint8_t station() const;

    RegisterMap& m_map;
    Faults m_faults;
    int m_transfers = 0;
    std::optional<RandomFaults> m_random;
    std::string m_lastFault;
};

} // namespace qmxsim
