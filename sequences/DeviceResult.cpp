#include "sequences/DeviceResult.h"

#include "protocol/Tvep.h"

std::string DeviceResult::errorString() const
{
    std::string text;
    switch (outcome) {
    case DeviceOutcome::Done: return "done";
    case DeviceOutcome::Refused: return "refused";
    case DeviceOutcome::PortNotOpen: return "the port would not open";
    case DeviceOutcome::NoDevice: text = "no central device answered"; break;
    case DeviceOutcome::TransferFailed: text = "transfer failed"; break;
    case DeviceOutcome::Mismatch: return "the device does not hold what was written";
    case DeviceOutcome::SnapshotNotSaved: return "the snapshot could not be saved";
    case DeviceOutcome::FileUnreadable: return "a file cannot be read";
    case DeviceOutcome::FileNotWritten: return "a file cannot be written";
    case DeviceOutcome::Interrupted: return "interrupted";
    }
    if (transferResult != Tvep::Ok)
        text += std::string(": ") + Tvep::ResultText(transferResult) + " (" + std::to_string(transferResult) + ")";
    return text;
}
