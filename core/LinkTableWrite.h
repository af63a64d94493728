#pragma once

// The link table written to the device with its questions, as both front
// ends write: a table the device cannot hold is refused before anything is
// asked; links the editor would not have made are asked about; the write is
// confirmed; the station is checked, and another station or missing modules
// are asked about, once each. Links the device already holds are not asked
// about: writing them back cannot make the device worse.

#include "sequences/CheckedLinkWrite.h"

#include <optional>
#include <vector>

class SequenceObserver;
class Tvep;
struct Station;
class WriteQuestions;

// `onDevice`: the device's links as last seen (read, compared or written);
// none when nothing is known, and then every refusing problem is asked about.
CheckedLinkWriteResult WriteLinkTable(Tvep& vep, Station& station, SequenceObserver* observer, const LinkWriteChecks& checks,
                                      const OverviewRows& overview, WriteQuestions& questions,
                                      const std::optional<std::vector<LinkRecord>>& onDevice);
