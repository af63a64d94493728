#pragma once

#include "i18n/LanguageTexts.h"
#include "diag/Result.h"

// What kalmoria-cli tells the script that called it.
enum class ExitCode {
    Success = 0,
    Usage = 1,         // the command line is wrong
    Device = 2,        // no device, or the communication failed
    File = 3,          // a link file cannot be read or written
    WriteRefused = 4,  // the links were not written: they do not fit, or nobody confirmed
    Mismatch = 5,      // the device's links differ from what was written or from the file
    // The default language file cannot be used: the language texts end the
    // program with this code themselves.
    LanguageFilesMissing = kExitWithoutLanguageTexts,
    Interrupted = 130, // SIGINT, SIGTERM or SIGHUP, held until the write had ended
};

inline int toInt(ExitCode code)
{
    return static_cast<int>(code);
}

// The one mapping from what a device sequence did to what the script learns.
inline ExitCode ExitCodeOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done: return ExitCode::Success;
    case Outcome::Refused: return ExitCode::WriteRefused;
    case Outcome::SnapshotNotSaved:
    case Outcome::FileUnreadable:
    case Outcome::FileNotWritten: return ExitCode::File;
    case Outcome::Interrupted: return ExitCode::Interrupted;
    case Outcome::Mismatch: return ExitCode::Mismatch;
    case Outcome::PortNotOpen:
    case Outcome::NoDevice:
    case Outcome::TransferFailed: break;
    }
    return ExitCode::Device;
}
