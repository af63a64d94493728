#include "sim/Responder.h"

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
}

bool Responder::inFailRange(const Request& request) const
{
    return m_faults.hasFailRange &&
           (overlaps(request.readAddr, request.readCount, m_faults.failFirst, m_faults.failLast) ||
            overlaps(request.writeAddr, request.words.size(), m_faults.failFirst, m_faults.failLast));
}

std::optional<Answer> Responder::answer(const Request& request)
{
    ++m_transfers;
    if (m_faults.silent || (m_faults.failFrom > 0 && m_transfers >= m_faults.failFrom) || inFailRange(request))
        return std::nullopt;

    // Check both halves before touching anything: a request the device
    // refuses must not leave a half-done write behind.
    if (!m_map.canWrite(request.writeAddr, static_cast<int>(request.words.size())) ||
        !m_map.canRead(request.readAddr, request.readCount))
        return std::nullopt;
    if (!m_faults.ignoreWrites)
        m_map.write(request.writeAddr, request.words);
    const std::vector<uint16_t> words = *m_map.read(request.readAddr, request.readCount);

    Answer answer;
    if (m_faults.floodBytes > 0) {
        answer.bytes = flood(m_faults.floodBytes);
        return answer;
    }
    ReplyShape shape;
    shape.addressOffset = m_faults.wrongAddress ? 1 : 0;
    shape.wrongCount = m_faults.wrongCount;
    shape.extraBytes = m_faults.extraBytes;
    shape.badCrc = m_faults.badCrc;
    const auto station = static_cast<uint8_t>(m_map.get(Registers::DeviceAddress));
    answer.bytes = BuildReply(request, words, station, shape);
    if (m_faults.pauseMs > 0) {
        answer.pauseAfter = answer.bytes.size() / 2;
        answer.pauseMs = m_faults.pauseMs;
    }
    return answer;
}

} // namespace qmxsim
