#include "sim/Responder.h"

#include <algorithm>

namespace qmxsim {

namespace {

bool overlaps(uint16_t first, std::size_t count, uint16_t lo, uint16_t hi)
{
    return count > 0 && first <= hi && first + count - 1 >= lo;
}

// Bytes that look like the start of a reply and then never let it end.
std::string flood(int count)
{
    std::string bytes(static_cast<std::size_t>(count), '\x55');
    if (!bytes.empty())
        bytes[0] = static_cast<char>(kReplyStart);
    return bytes;
}

} // namespace

Responder::Responder(RegisterMap& map, const Faults& faults)
    : m_map(map)
    , m_faults(faults)
{
    if (m_faults.randomFaults) {
        m_random.emplace(m_faults.randomSeed);
        if (m_faults.pauseMs == 0)
            m_faults.pauseMs = kDefaultRandomPauseMs;
    }
}

uint8_t Responder::station() const
{
    return static_cast<uint8_t>(m_map.get(Registers::DeviceAddress));
}

bool Responder::inFailRange(const Request& request) const
{
    return m_faults.hasFailRange &&
           (overlaps(request.readAddr, request.readCount, m_faults.failFirst, m_faults.failLast) ||
            overlaps(request.writeAddr, request.words.size(), m_faults.failFirst, m_faults.failLast));
}

Faults Responder::replyFaultsNow() const
{
    if (m_faults.failTransfers.empty() && m_faults.failEvery == 0)
        return m_faults;
    const bool chosen = std::find(m_faults.failTransfers.begin(), m_faults.failTransfers.end(), m_transfers)
                            != m_faults.failTransfers.end()
        || (m_faults.failEvery > 0 && m_transfers % m_faults.failEvery == 0);
    Faults now = m_faults;
    if (!chosen) {
        now.silent = now.badCrc = now.wrongAddress = now.wrongCount = false;
        now.extraBytes = now.pauseMs = now.floodBytes = 0;
        return now;
    }
    const bool hasReplyFault = now.badCrc || now.wrongAddress || now.wrongCount || now.extraBytes > 0
        || now.pauseMs > 0 || now.floodBytes > 0;
    now.silent = now.silent || !hasReplyFault;
    return now;
}

std::optional<Answer> Responder::answer(const Request& request)
{
    ++m_transfers;
    m_lastFault.clear();
    const Faults faults = m_random ? m_faults : replyFaultsNow();
    if (faults.silent || (faults.failFrom > 0 && m_transfers >= faults.failFrom) || inFailRange(request))
        return std::nullopt;

    // Check both halves before touching anything: a request the device
    // refuses must not leave a half-done write behind.
    if (!m_map.canWrite(request.writeAddr, static_cast<int>(request.words.size())) ||
        !m_map.canRead(request.readAddr, request.readCount)) {
        if (m_random)
            m_lastFault = "refused";
        return std::nullopt;
    }
    std::optional<FaultChoice> random;
    if (m_random) {
        // Picked before the write: a silent device does not take it.
        random = m_random->next(BuildReply(request, std::vector<uint16_t>(request.readCount), 0).size());
        m_lastFault = random->describe(m_faults.pauseMs);
        if (random->kind == FaultKind::Silence)
            return std::nullopt;
    }
    if (!m_faults.ignoreWrites)
        m_map.write(request.writeAddr, request.words);
    const std::vector<uint16_t> words = *m_map.read(request.readAddr, request.readCount);
    if (random)
        return randomAnswer(*random, request, words);

    Answer answer;
    if (faults.floodBytes > 0) {
        answer.bytes = flood(faults.floodBytes);
        return answer;
    }
    ReplyShape shape;
    shape.addressOffset = faults.wrongAddress ? 1 : 0;
    shape.wrongCount = faults.wrongCount;
    shape.extraBytes = faults.extraBytes;
    shape.badCrc = faults.badCrc;
    answer.bytes = BuildReply(request, words, station(), shape);
    if (faults.pauseMs > 0) {
        answer.pauseAfter = answer.bytes.size() / 2;
        answer.pauseMs = faults.pauseMs;
    }
    return answer;
}

Answer Responder::randomAnswer(const FaultChoice& choice, const Request& request,
                               const std::vector<uint16_t>& words) const
{
    ReplyShape shape;
    shape.badCrc = choice.kind == FaultKind::BadCrc;
    shape.addressOffset = choice.kind == FaultKind::WrongAddress ? 1 : 0;
    shape.wrongCount = choice.kind == FaultKind::WrongCount;
    shape.extraBytes = choice.kind == FaultKind::ExtraBytes ? choice.amount : 0;
    Answer answer;
    answer.bytes = BuildReply(request, words, station(), shape);
    const auto at = static_cast<std::size_t>(choice.amount);
    switch (choice.kind) {
    case FaultKind::DropByte:
        answer.bytes.erase(at, 1);
        break;
    case FaultKind::DoubleByte:
        answer.bytes.insert(at, 1, answer.bytes[at]);
        break;
    case FaultKind::Pause:
        answer.pauseAfter = at;
        answer.pauseMs = m_faults.pauseMs;
        break;
    case FaultKind::Flood:
        answer.bytes = flood(choice.amount);
        break;
    case FaultKind::Noise:
        answer.bytes.insert(0, choice.noise);
        break;
    default:
        break;
    }
    return answer;
}

} // namespace qmxsim
