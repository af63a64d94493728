#pragma once

// Numbers written by people in INI files: decimal, or hexadecimal with 0x,
// 0X or $ in front ("300", "0x12C", "$12c").

#include <cstdint>
#include <optional>
#include <string_view>

// Without a sign; nothing else may stand in the text.
std::optional<long> ParseUnsignedNumber(std::string_view text);
// With an optional "-" in front; nothing when the value does not fit 32 bits.
std::optional<int32_t> ParseInt32(std::string_view text);
