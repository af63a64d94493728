#include "diag/NumberText.h"

#include <charconv>
#include <limits>

std::optional<long> ParseUnsignedNumber(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.starts_with("$")) {
        text.remove_prefix(1);
        base = 16;
    }
    // from_chars takes a minus sign of its own, also behind "0x".
    if (text.starts_with('-'))
        return std::nullopt;
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int32_t> ParseInt32(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    const std::optional<long> magnitude = ParseUnsignedNumber(text);
    if (!magnitude)
        return std::nullopt;
    const long value = negative ? -*magnitude : *magnitude;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}
