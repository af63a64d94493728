#pragma once

// Whether a station's link table holds edits that exist nowhere else. The
// links are kept once they were read from the device, loaded from a file,
// saved to one or written to the device; a link made, switched or deleted
// after that is unsaved until the next of these. Changing a link and changing
// it back leaves nothing unsaved.

#include "model/LinkModel.h"

#include <cstdint>
#include <string>
#include <vector>

struct Station;

// The links as last kept, and the number of that keeping: an undone step
// takes back what it kept itself, never what a save or write kept since,
// even when that were the same links.
struct KeptLinks {
    std::vector<LinkRecord> links;
    uint64_t number = 0;
    std::string keptAs;
    std::string linkFile;
};

// The table's links, as they are now, are kept elsewhere: in `keptAs`, the
// station or the file that holds them as the window's title names it
// (Windows-1252; empty where nothing names them), and when that is a link
// file, in `linkFile` (its path, bytes of the file system).
void MarkLinksKept(Station& station, const std::string& keptAs = {}, const std::string& linkFile = {});
// True when links 1..AnzBefehle differ from those last marked kept.
bool HasUnsavedLinks(const Station& station);
const KeptLinks& LastKeptLinks(const Station& station);
void PutBackKeptLinks(Station& station, const KeptLinks& kept);
