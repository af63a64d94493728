#pragma once

#include <optional>
#include <string_view>

namespace qmxsim {

// Decimal, or hexadecimal with 0x or $ in front, as in the program's link
// files, without a sign. Nothing else may stand in the text.
std::optional<long> parseInteger(std::string_view text);

} // namespace qmxsim
