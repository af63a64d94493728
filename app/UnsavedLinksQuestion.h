#pragma once

// The question before edited links would be lost: closing the window,
// reading the device, loading a file, deleting all links.

#include "diag/MessageNumbers.h"
#include "model/LinkFile.h"

#include <string>

struct Station;

enum class UnsavedLinksAnswer {
    NoneUnsaved, // nothing to lose: nothing was asked
    GoOn,        // saved, or the user lets them go
    Cancel,      // everything stays as it is
};

// When the link table holds unsaved edits, asks whether to save them first
// (Save, Discard, Cancel). Save runs the save command with `overview`
// (proposed in `workFolder`) and goes on only when the file was written.
UnsavedLinksAnswer AskAboutUnsavedLinks(Station& station, const std::string& workFolder, const OverviewRows& overview);
