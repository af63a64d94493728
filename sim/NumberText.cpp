#include "sim/NumberText.h"

#include <charconv>

namespace qmxsim {

std::optional<long> parseInteger(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.starts_with("$")) {
        text.remove_prefix(1);
        base = 16;
    }
    // from_chars takes a minus sign; no number of the device has one, and
    // "-1" taken as 0xFFFF would turn a link into an end slot.
    if (text.starts_with('-'))
        return std::nullopt;
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace qmxsim
