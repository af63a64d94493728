#pragma once

// The device's link area: 63 slots of four words from register 30800, each
// slot one link in its device form, the list closed by a slot whose first
// word is 0xFFFF. Written as a whole with the links and an end slot of four
// 0xFFFF; read as a whole, all 252 words.

#include "model/LinkModel.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

using LinkAreaWords = std::vector<uint16_t>;

// What a write sends: every link's four words, then the end slot.
LinkAreaWords EncodeLinkArea(std::span<const LinkRecord> links);

struct DecodedLinkArea {
    std::vector<LinkRecord> links;
    int32_t slotsRead = 0;   // the slots looked at, an end slot included
    bool terminated = false; // an end slot closed the list within the area
};

// The links of the words read from the device, up to the end slot and at
// most as many slots as the area has: a list without an end slot is not
// followed past them.
DecodedLinkArea DecodeLinkArea(std::span<const uint16_t> words);

// The four words of slot `slot` (1-based); slots beyond `words` read as 0.
DeviceLinkWords LinkAreaSlot(std::span<const uint16_t> words, int32_t slot);

struct LinkAreaDifference {
    int32_t slot = 0; // 1-based
    DeviceLinkWords expected;
    DeviceLinkWords found;
};

// The first of `expected`'s slots that `found` does not hold word for word;
// none when every one of them matches. What `found` holds behind them does
// not count: the device keeps old words there, behind the end slot.
std::optional<LinkAreaDifference> CompareLinkAreas(std::span<const uint16_t> expected,
                                                   std::span<const uint16_t> found);
