#pragma once

// The user's choice whether a write to the device is checked (the station,
// a snapshot first, the links read back afterwards), kept in the settings
// file Kalmoria.ini, section "Kalmoria", key "SchreibenPruefen" ("1" on, "0"
// off). On until chosen otherwise.
bool StoredWriteCheck();
// False when the settings file could not be written; the choice then holds
// only until the program ends.
bool StoreWriteCheck(bool on);
