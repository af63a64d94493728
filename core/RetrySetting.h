#pragma once

#include <cstdint>

// The user's choice of how often a failed transfer is repeated
// (Tvep::Retries), kept in the settings file Kalmoria.ini, section
// "Kalmoria", key "Wiederholungen" (0..5). Tvep::DefaultRetries until chosen,
// and also when the file holds anything else.
int32_t StoredRetries();
// False when the settings file could not be written; the choice then holds
// only until the program ends.
bool StoreRetries(int32_t retries);
