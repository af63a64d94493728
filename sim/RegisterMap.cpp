#include "sim/RegisterMap.h"

#include <algorithm>

namespace qmxsim {

namespace {
constexpr int kRegisterSpace = 65536;
}

RegisterMap::RegisterMap()
    : m_values(kRegisterSpace, 0)
    , m_access(kRegisterSpace, None)
{
    declare(Registers::ConfigFirst, Registers::ConfigCount, Readable);
    declare(Registers::ExistenceFirst, Registers::ExistenceCount, Readable);
    for (int address = 0; address <= Registers::Modules; ++address)
        declare(Registers::station(address), Registers::StationCount, Readable);
    declare(Registers::LinkFirst, Registers::LinkCount, Readable | Writable);
    declare(Registers::NameFirst, Registers::NameCount, Readable);

    std::fill_n(m_values.begin() + Registers::LinkFirst, Registers::LinkCount, 0xFFFF);
}

void RegisterMap::declare(uint16_t first, int count, uint8_t access)
{
    std::fill_n(m_access.begin() + first, count, access);
}

bool RegisterMap::all(uint16_t first, int count, uint8_t access) const
{
    // A block may not run past the last register: the frame's 16-bit address
    // would wrap, and no device area does.
    if (count < 0 || first + count > kRegisterSpace)
        return false;
    return std::all_of(m_access.begin() + first, m_access.begin() + first + count,
                       [access](uint8_t a) { return (a & access) == access; });
}

bool RegisterMap::canRead(uint16_t first, int count) const
{
    return count == 0 || all(first, count, Readable);
}

bool RegisterMap::canWrite(uint16_t first, int count) const
{
    return count == 0 || all(first, count, Writable);
}

std::optional<std::vector<uint16_t>> RegisterMap::read(uint16_t first, int count) const
{
    if (!canRead(first, count))
        return std::nullopt;
    return std::vector<uint16_t>(m_values.begin() + first, m_values.begin() + first + count);
}

bool RegisterMap::write(uint16_t first, std::span<const uint16_t> words)
{
    if (!canWrite(first, static_cast<int>(words.size())))
        return false;
    std::copy(words.begin(), words.end(), m_values.begin() + first);
    return true;
}

bool RegisterMap::set(uint16_t reg, uint16_t value)
{
    if (!exists(reg))
        return false;
    m_values[reg] = value;
    return true;
}

} // namespace qmxsim
