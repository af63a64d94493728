#pragma once

// What an operation did, for a front end to present: the outcome, the
// transfer's result code when one failed, and the messages for the user, in
// the order they were met. One type for the device sequences, the core's
// flows and the files below them; each operation adds the value it gives.
// The front ends render the notices, and one mapping gives kalmoria-cli's
// exit code for every outcome (cli/ExitCode.h).

#include "diag/Notice.h"

#include <cstdint>
#include <string>
#include <vector>

enum class Outcome {
    Done,             // it ran through
    Refused,          // nothing was sent: the data or the links do not allow it
    PortNotOpen,      // the port would not open
    NoDevice,         // what answered is not a central device this program serves
    TransferFailed,   // a transfer failed: no reply, or a broken or wrong one
    Mismatch,         // the device does not hold what was written
    SnapshotNotSaved, // nothing was sent: what the device held could not be kept
    FileUnreadable,   // a file it needs cannot be read or used
    FileNotWritten,   // what it made could not be kept in its file
    Interrupted,      // a signal ended it before it was done
};

struct Result {
    Outcome outcome = Outcome::Done;
    int32_t transferResult = 0;  // the protocol's code of the transfer that failed; 0 = none failed
    std::vector<Notice> notices; // in the order they were met

    bool ok() const { return outcome == Outcome::Done; }
    // The outcome in a few English words, with the transfer's result code
    // when one failed: "transfer failed (-10)".
    std::string errorString() const;
};
