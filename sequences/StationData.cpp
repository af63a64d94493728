#include "sequences/StationData.h"

#include "protocol/DeviceRegisters.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>

namespace {


// Kinds 0 and 4 come in three variants, told apart by their bit and register counts.
std::string variantText(const char* model, const ModuleRecord& module)
{
    int bits = module.dstBitCount % 16;
    if (bits == 0)
        bits = 16;
    const int registers = module.srcRegCount % 8;
    if (bits == 8 && registers == 4)
        return std::string(model) + "/DA1";
    if (bits == 8 && registers == 0)
        return std::string(model) + "/DA2";
    if (bits == 16 && registers == 0)
        return std::string(model) + "/DA3";
    return {};
}

void setCounts(ModuleRecord& module, int32_t srcBits, int32_t srcRegs, int32_t dstBits, int32_t dstRegs,
               int32_t src2Regs, int32_t src4)
{
    module.srcBitCount = srcBits;
    module.srcRegCount = srcRegs;
    module.dstBitCount = dstBits;
    module.dstRegCount = dstRegs;
    module.src2RegCount = src2Regs;
    module.src4Count = src4;
}

} // namespace

int32_t StationDataRegister(int32_t address)
{
    return DeviceRegisters::StationRecord(address);
}

void ApplyStationData(ModuleRecord& module, const StationWords& words)
{
    const int kind = words[2];
    module.iModulKennNr = kind;
    if (kind > 5) {
        module.present = 0;
        return;
    }
    module.present = 1;
    const auto word = [&words](std::size_t i) { return static_cast<int32_t>(words[i]); };
    switch (kind) {
    case 0:
        setCounts(module, word(8), word(9), word(10), word(11), 16, 2);
        module.typeText = variantText("KRA-520", module);
        break;
    case 1:
        setCounts(module, 4, 2, 2, 0, 4, 3);
        module.typeText = "SK40F";
        break;
    case 2:
        setCounts(module, 0, 0, 0, 0, 0, 5);
        module.typeText = "XTQ";
        break;
    case 3:
        setCounts(module, word(8), word(9), word(10), word(11), word(12), 0);
        module.typeText = "LIO ";
        module.name = "local IO";
        break;
    case 4:
        setCounts(module, word(8), word(9), word(10), word(11), 16, 2);
        module.typeText = variantText("VLN-300", module);
        break;
    default:
        setCounts(module, word(8), word(9), word(10), word(11), 8, 2);
        module.typeText = "PDX-44";
        break;
    }
}

void ApplyCentralDeviceRecord(ModuleRecord& module, uint16_t deviceType)
{
    module.present = 1;
    module.iModulKennNr = kCentralDeviceKind;
    module.typeText = deviceType == DeviceRegisters::TypeQmx620 ? "QMX-620" : "QMX-240.100";
    module.name = "Zentrale";
    setCounts(module, 0, 0, 0, 0, 0, 1);
}

std::string DecodeModuleName(const NameBlockWords& nameBlock, int index)
{
    const int entry = std::clamp(index, 0, 63) % 16;
    std::string text;
    for (int j = 0; j < 8; ++j) {
        const int position = 8 * entry + j;
        const uint16_t word = nameBlock[static_cast<std::size_t>(position)];
        const auto high = static_cast<char>(word >> 8);
        const auto low = static_cast<char>(word & 0xFF);
        if (high == 0) {
            text = "Modul-Adresse:";
            continue;
        }
        text += high;
        if (DebugBit(128))
            WriteErrLog("B-" + IntToText(entry * 1000 + position) + " Char: " + IntToText(word >> 8));
        text += low;
    }
    return text;
}

std::string ModuleDisplayName(const std::string& decoded, int32_t address)
{
    std::string name = decoded.substr(0, kMaxModuleTextLength);
    if (name.starts_with("Modul-Adresse:") || name.starts_with("    "))
        // One above the address, as the device's own service tools number
        // unnamed modules; installations are documented with these names.
        return "Modul-Adr." + IntToText(address + 1);
    // A NUL filler byte can neither be shown nor stored in a link file. The
    // blanks that pad a name to its sixteen characters stay, as the device
    // holds them; the link file writes its cells without them.
    std::erase(name, '\0');
    // Blanks with NUL fillers between them hold no name.
    if (name.find_first_not_of(' ') == std::string::npos)
        return "Modul-Adr." + IntToText(address + 1);
    return name;
}
