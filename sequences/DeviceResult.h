#pragma once

// What a device sequence did, for the front end to present: the outcome, the
// transfer's result code when one failed, and the messages for the user.

#include "diag/Notice.h"

#include <cstdint>
#include <string>
#include <vector>

enum class DeviceOutcome {
    Done,           // the sequence ran through
    Refused,        // nothing was sent: the data or the links do not allow it
    PortNotOpen,    // the port would not open
    NoDevice,       // what answered is not a central device this program serves
    TransferFailed, // a transfer failed: no reply, or a broken or wrong one
    Mismatch,       // the device does not hold what was written
    SnapshotNotSaved, // nothing was sent: what the device held could not be kept
    FileUnreadable, // a file the command needs cannot be read
    FileNotWritten, // what was read could not be kept in its file
    Interrupted,    // a signal ended it before it was done
};

struct DeviceResult {
    DeviceOutcome outcome = DeviceOutcome::Done;
    int32_t transferResult = 0;  // Tvep's code of the transfer that failed; 0 = none failed
    std::vector<Notice> notices; // in the order the sequence met them

    bool ok() const { return outcome == DeviceOutcome::Done; }
    // The outcome in a few English words, with the transfer's result when
    // one failed: "transfer failed: no reply (-10)".
    std::string errorString() const;
};
