// The simulator's device image reader: any text either builds a device or is
// refused with a message naming the mistake. A device built without raw
// registers keeps the rules the simulator promises: the link list ends right
// behind the last link, and every name register holds a character.

#include "tests/fuzz/FuzzSupport.h"

#include "sim/DeviceImage.h"

#include <algorithm>
#include <cctype>

using namespace qmxsim;

namespace {

// Whether the text has a [Registers] section, which may bend anything.
bool hasRawRegisters(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("registers") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegisterMap map;
    std::string error;
    const bool loaded = LoadDeviceImage(text, map, error);
    FUZZ_CHECK(loaded == error.empty(), "loaded " + std::to_string(loaded) + " with error \"" + error + "\"");
    if (!loaded || hasRawRegisters(text))
        return 0;

    int links = 0;
    while (links < Registers::LinkAreaSlots && map.get(static_cast<uint16_t>(Registers::LinkFirst + 4 * links)) != 0xFFFF)
        ++links;
    FUZZ_CHECK(links < Registers::LinkAreaSlots, "no end slot");
    for (int slot = links; slot < Registers::LinkAreaSlots; ++slot)
        for (int i = 0; i < 4; ++i)
            FUZZ_CHECK(map.get(static_cast<uint16_t>(Registers::LinkFirst + 4 * slot + i)) == 0xFFFF,
                       "link " + std::to_string(slot + 1) + " behind the end of the list");
    for (int address = 1; address <= Registers::Modules; ++address)
        for (int i = 0; i < Registers::NameRegisters; ++i)
            FUZZ_CHECK(map.get(static_cast<uint16_t>(Registers::name(address) + i)) >> 8 != 0,
                       "name of module " + std::to_string(address) + " cut at character " + std::to_string(2 * i));
    FUZZ_CHECK(map.get(Registers::station(0) + Registers::StationKindWord) == 6, "central device kind");
    return 0;
}
