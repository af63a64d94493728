#pragma once

// A link file read for the table, by one rule for both front ends: a file
// that cannot be used is refused with the file's own words, and a file whose
// list of links ends at a gap is used only when the user takes the links
// before the gap (the window always does and warns; the command line only
// with --force).

#include "model/LinkFile.h"
#include "diag/Result.h"

#include <string>

struct Station;

class LinkFileQuestions {
public:
    virtual ~LinkFileQuestions() = default;
    // The file numbers links behind a gap in its list: true to take the
    // links before the gap.
    virtual bool UseLinksBeforeGap(const LinkFileLoad& file) = 0;
};

// Done with the file's links and its own notices (the gap's warning);
// FileUnreadable when the file cannot be used, or its links end at a gap
// the user does not take: the last notice says why.
struct LinkFileRead : Result {
    LinkFileLoad file;
};

LinkFileRead ReadLinkFile(const std::string& name, LinkFileQuestions& questions);

// The file's links become `station`'s table, from the station the file
// names, and count as kept in the file at `path` (bytes of the file system),
// which the window's title names `title`.
void TakeLinksOfFile(Station& station, const LinkFileLoad& file, const std::string& path, const std::string& title);
