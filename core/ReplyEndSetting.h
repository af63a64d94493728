#pragma once

// The user's choice of how transfers end a reply (Tvep::FastReplyEnd), kept
// in the settings file Kalmoria.ini, section "Kalmoria", key
// "SchnellesAntwortende" ("1" on, "0" off). Off until chosen.
bool StoredFastReplyEnd();
// False when the settings file could not be written; the choice then holds
// only until the program ends.
bool StoreFastReplyEnd(bool on);
