#pragma once

#include <cstdint>
#include <optional>
#include <string>

class Tvep;

// Why the link table cannot go to the device as it is.
struct LinkWriteObstacle {
    int32_t linkNumber = 0; // the first link the device cannot take
    std::string reason;     // e.g. "ModulQ=130 (0..127)"
};

// The first reason the device could not hold the link table: more links than
// its link area has slots, or a field outside the device form.
std::optional<LinkWriteObstacle> FindLinkWriteObstacle();

// Sends every link and the end slot to the device's link area in one
// transfer and reports the counts. Refused while the data are incomplete
// (DataState above 0) or when the table does not fit the device; then
// nothing is sent.
void WriteLinksToDevice(Tvep& vep);
