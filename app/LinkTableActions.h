#pragma once

// The window's commands on the link table with a file: the core's flows,
// with the pages and the status bar shown as the window shows them.

#include "model/LinkFile.h"

#include <string>

class LinkTableFlows;
class ShellView;

// "Alle Verknüpfungen löschen": asks, and when the links may go empties the
// table. Always refreshes the status bar and shows the module overview.
// True when the user confirmed.
bool DeleteAllLinks(ShellView& view, LinkTableFlows& flows, const OverviewRows& overview);

// Replaces the links by those of a file chosen starting in `folder`, once
// modules are known and the user agreed to lose the current links (unsaved
// edits may be saved first, with `overview`). The links stay as they were
// until a file has really been read; then the link table page is shown.
void LoadLinksFromChosenFile(ShellView& view, LinkTableFlows& flows, bool modulesKnown, const std::string& folder,
                             const OverviewRows& overview);
