#include "diag/Result.h"

std::string Result::errorString() const
{
    std::string text;
    switch (outcome) {
    case Outcome::Done: return "done";
    case Outcome::Refused: return "refused";
    case Outcome::PortNotOpen: return "the port would not open";
    case Outcome::NoDevice: text = "no central device answered"; break;
    case Outcome::TransferFailed: text = "transfer failed"; break;
    case Outcome::Mismatch: return "the device does not hold what was written";
    case Outcome::SnapshotNotSaved: return "the snapshot could not be saved";
    case Outcome::FileUnreadable: return "a file cannot be read";
    case Outcome::FileNotWritten: return "a file cannot be written";
    case Outcome::Interrupted: return "interrupted";
    }
    if (transferResult != 0)
        text += " (" + std::to_string(transferResult) + ")";
    return text;
}
