#pragma once

// The station's module overview as data: its headings in the active
// language and a row per module, as the overview page shows it and a link
// file or a snapshot keeps it. Built from the module table, never read back
// from a grid.

#include "model/LinkFile.h"
#include "model/ModuleOverview.h"

#include <string>

struct Station;

// Line `line` of the main window's hidden text table `table` in the active
// language (Windows-1252): 91 holds the column headings of the overview and
// of the link table.
std::string MainWindowTableLine(int table, int line);
// The column headings of the overview in the active language (Windows-1252).
OverviewRow OverviewHeadings();
// The heading and the rows of the overview as a link file keeps them.
OverviewRows OverviewForLinkFile(const Station& station);
// The same under `headings` taken before: a station read on a thread of its
// own leaves the language texts, which are the process's, alone.
OverviewRows OverviewForLinkFile(const Station& station, const OverviewRow& headings);
