#include "sim/NumberText.h"

#include "diag/NumberText.h"

namespace qmxsim {

std::optional<long> parseInteger(std::string_view text)
{
    // No number of the device has a sign: "-1" taken as 0xFFFF would turn a
    // link into an end slot.
    return ParseUnsignedNumber(text);
}

} // namespace qmxsim
