#pragma once

// The device's link area read as a whole: the read-back after a write, a
// snapshot, a comparison with a file.

#include "protocol/LinkArea.h"
#include "diag/Result.h"

#include <cstdint>

class Tvep;
struct Station;
struct TransferBuffers;

// Done with the words, PortNotOpen or TransferFailed (with Tvep's code in
// transferResult) without them.
struct LinkAreaRead : Result {
    LinkAreaWords words; // all 252 words, behind the end slot as well
};

// Opens the port, reads the 252 registers in one transfer and closes it again.
LinkAreaRead ReadLinkArea(Tvep& vep, Station& station);
// The same transfer on a port that is open already.
LinkAreaRead ReadLinkAreaOnOpenPort(Tvep& vep, TransferBuffers& buffers);
