#pragma once

#include "model/LinkFile.h"

#include <string>

class LinkHistory;
class ShellView;
struct Station;

// Asks whether every link shall go. With unsaved edits that is the question
// about them (Discard lets them go, Save saves them first with `overview`,
// proposed in `workFolder`),
// else message 14. True when the links may go.
bool AskDeleteAllLinks(Station& station, const std::string& workFolder, const OverviewRows& overview);

// Asks as AskDeleteAllLinks does; when the links may go, empties the link
// table and marks the data as consistent. Always refreshes the status bar
// and shows the module overview. True when the user confirmed. The delete
// is a step of `history` where there is one.
bool DeleteAllLinks(ShellView& view, Station& station, const std::string& workFolder, const OverviewRows& overview,
                    LinkHistory* history = nullptr);
