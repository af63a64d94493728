#pragma once

#include <string>

// Folder of the running executable, ending in "/". Resolved from
// /proc/self/exe so it works before any Qt object exists.
std::string programFolder();
// The working folder the program was started in, where its file dialogs
// open: a path in the file system's own encoding; empty when that folder was
// deleted. Taken at the first call.
const std::string& StartDirectory();
// Base name of the running executable without folder and extension ("Kalmoria").
std::string programBaseName();

// Where the diagnostic log and its marker files live, ending in "/": the
// program folder while this user may write there (a program run from its
// build folder); otherwise, as for an installed program, the user's state
// folder $XDG_STATE_HOME/kalmoria (~/.local/state/kalmoria when that is not
// set), made when missing so the user finds where to put DEBUG.
std::string logFolder();

// Where the snapshots of each station's links are kept, ending in "/":
// $XDG_DATA_HOME/kalmoria/backups/ (~/.local/share/... when that is not
// set); empty when the user has no home. Not made here.
std::string backupFolder();
