#pragma once

struct StationCheck;

// Asks whether the links go to a device that is not their station or lacks
// modules they use; No is the default. True when the user said Yes.
bool AskWriteToOtherStation(const StationCheck& check);
