#pragma once

// The open and save commands of the main window for link files: the user's
// questions and dialogs around LoadLinkFile and SaveLinkFile.

#include "diag/MessageNumbers.h"
#include "model/LinkFile.h"

#include <string>

class LinkHistory;
class ShellView;
struct Station;

// Replaces the links by those of a file the user chooses in a dialog that
// starts in `folder`, once modules are known and the user agreed to lose the
// current links (unsaved edits may be saved first, with `overview`). The
// links stay as they were until a file has really been read; then the link
// table page is shown. The load is a step of `history` where there is one.
void LoadLinksFromChosenFile(ShellView& view, Station& station, bool modulesKnown, const std::string& folder,
                             const std::string& workFolder, const OverviewRows& overview,
                             LinkHistory* history = nullptr);

// Saves the links and the module overview into a file the user chooses
// (proposed in `workFolder` while the link file names no folder of its own);
// refused while the data are incomplete. True when the file was written.
bool SaveLinksToChosenFile(Station& station, const std::string& workFolder, const OverviewRows& overview);
