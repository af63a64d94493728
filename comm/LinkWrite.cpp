#include "comm/LinkWrite.h"

#include "comm/DeviceMessages.h"
#include "comm/DeviceRegisters.h"
#include "comm/PortSettings.h"
#include "comm/TransferBuffers.h"
#include "comm/TransferProgress.h"
#include "comm/Tvep.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "i18n/MessageBoxEx.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"

namespace R = DeviceRegisters;

namespace {

struct FieldRange {
    const char* name;
    int32_t LinkRecord::*field;
    int32_t maximum;
};

// What one slot of the device's link area can hold. The module fields have
// room for 127, but the device has modules at 1..64 and itself at 0 only.
constexpr std::array<FieldRange, 7> kDeviceForm{{
    {"ModulQ", &LinkRecord::ModulQ, kMaxModuleAddress},
    {"RegVon", &LinkRecord::RegVon, 65535},
    {"BitVon", &LinkRecord::BitVon, 15},
    {"AnzBit", &LinkRecord::AnzBit, 255},
    {"ModulZ", &LinkRecord::ModulZ, kMaxModuleAddress},
    {"RegZ", &LinkRecord::RegZ, 65535},
    {"BitZ", &LinkRecord::BitZ, 15},
}};

} // namespace

std::optional<LinkWriteObstacle> FindLinkWriteObstacle()
{
    for (int32_t n = 1; n <= AnzBefehle; ++n) {
        const LinkRecord& link = LinkTable[static_cast<std::size_t>(n)];
        for (const FieldRange& range : kDeviceForm) {
            const int32_t value = link.*range.field;
            if (value < 0 || value > range.maximum)
                return LinkWriteObstacle{n, std::string(range.name) + "=" + IntToText(value) + " (0.."
                                                + IntToText(range.maximum) + ")"};
        }
    }
    return std::nullopt;
}

bool LinkWriteAllowed()
{
    if (RefuseWhileDataIncomplete())
        return false;
    // The device's link area holds 62 links and the end slot, and a write
    // frame counts its registers in one byte: a larger table is never sent.
    if (AnzBefehle > R::MaxWritableLinks) {
        ShowDeviceMessage(kMessageTooManyLinks, mbError, std::vector<std::string>{IntToText(AnzBefehle)});
        return false;
    }
    if (const auto obstacle = FindLinkWriteObstacle()) {
        ShowDeviceMessage(kMessageLinkNotWritable, mbError,
                          std::vector<std::string>{IntToText(obstacle->linkNumber), obstacle->reason});
        return false;
    }
    return true;
}

LinkWriteResult WriteLinksToDevice(Tvep& vep, ShellView* view)
{
    if (!LinkWriteAllowed())
        return LinkWriteResult::Refused;
    TransferProgress progress(view, 1);
    if (!vep.OpenPort(ComPortNr, ComBaud, ComParity)) {
        // A port that just does not open stops the write without a word; a
        // reason the user can act on is worth a box.
        ShowPortOpenProblem(ComPortNr, vep.Serial.OpenProblem);
        return LinkWriteResult::PortNotOpen;
    }

    uint16_t active = 0;
    uint16_t inactive = 0;
    for (int32_t n = 1; n <= AnzBefehle; ++n) {
        DeviceLinkWords words;
        EncodeLink(n, words);
        const auto slot = static_cast<std::size_t>(4 * (n - 1));
        SendBuffer[slot] = words.r1;
        SendBuffer[slot + 1] = words.r2;
        SendBuffer[slot + 2] = words.r3;
        SendBuffer[slot + 3] = words.r4;
        ++((words.r1 & 0x8000) != 0 ? inactive : active);
    }
    const auto endSlot = static_cast<std::size_t>(4 * AnzBefehle);
    std::fill_n(SendBuffer.begin() + static_cast<std::ptrdiff_t>(endSlot), 4, kEndSlotWord);

    const int32_t result = vep.Transfer(R::LinkArea, 4 * (AnzBefehle + 1), sendWords(), 0, 0, receiveWords(), true);
    progress.Step();
    const bool failed = (result & 0xFFFF) != 0;
    if (failed) {
        ShowDeviceMessage(5, mbError);
        if (DebugFlag())
            WriteErrLog("230-FEHLER beim Verkn\xFCpfungsdaten in QMX schreiben err");
    } else {
        ShowDeviceMessage(20, mbInformation,
                          std::vector<std::string>{IntToText(AnzBefehle), IntToText(active), IntToText(inactive)});
        if (DebugFlag())
            WriteErrLog("230-Verkn\xFCpfungsdaten in QMX geschrieben !!!");
    }
    vep.ClosePort();
    return failed ? LinkWriteResult::TransferFailed : LinkWriteResult::Written;
}
