// Decoding what the device reports about a module: station words and name
// blocks with any values. Kinds, counts and names stay within what the
// module table, the link editor and a link file can hold.
//
// Input: 21 station words, the 128 words of a name block, a module index and
// an address (one byte each), all high byte first.

#include "tests/fuzz/FuzzSupport.h"

#include "sequences/StationData.h"

#include <algorithm>
#include <array>

namespace {

const std::array<std::string, 10> kTypeTexts{"",       "KRA-520/DA1", "KRA-520/DA2", "KRA-520/DA3", "SK40F", "XTQ",
                                             "LIO ",   "VLN-300/DA1", "VLN-300/DA2", "PDX-44"};

bool knownType(const std::string& text)
{
    return std::find(kTypeTexts.begin(), kTypeTexts.end(), text) != kTypeTexts.end() || text == "VLN-300/DA3";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    StationWords station{};
    for (uint16_t& w : station)
        w = in.word();
    NameBlockWords names{};
    for (uint16_t& w : names)
        w = in.word();
    const int index = static_cast<int8_t>(in.byte());
    const int32_t address = in.byte();

    ModuleRecord module;
    ApplyStationData(module, station);
    FUZZ_CHECK(module.iModulKennNr == station[2], "kind code");
    FUZZ_CHECK(module.present == (station[2] <= 5 ? 1 : 0), "present flag for kind " + std::to_string(station[2]));
    if (module.present == 1) {
        for (const int32_t count : {module.srcBitCount, module.srcRegCount, module.dstBitCount, module.dstRegCount,
                                    module.src2RegCount, module.src4Count})
            FUZZ_CHECK(count >= 0 && count <= 0xFFFF, "count " + std::to_string(count));
        FUZZ_CHECK(knownType(module.typeText), "type text " + Printable(module.typeText));
    }

    const std::string decoded = DecodeModuleName(names, index);
    FUZZ_CHECK(decoded.size() <= 28, "decoded name of " + std::to_string(decoded.size()) + " bytes");
    const std::string shown = ModuleDisplayName(decoded, address);
    FUZZ_CHECK(!shown.empty(), "empty name for " + Printable(decoded));
    FUZZ_CHECK(shown.size() <= kMaxModuleTextLength, "name of " + std::to_string(shown.size()) + " bytes");
    FUZZ_CHECK(shown.find('\0') == std::string::npos, "NUL in " + Printable(shown));
    FUZZ_CHECK(shown.find_first_not_of(' ') != std::string::npos, "blanks only: " + Printable(shown));
    return 0;
}
