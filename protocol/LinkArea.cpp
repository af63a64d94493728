#include "protocol/LinkArea.h"

#include "protocol/DeviceRegisters.h"

namespace {

constexpr std::size_t kSlotWords = 4;

int32_t slotCount(std::span<const uint16_t> words)
{
    return static_cast<int32_t>(words.size() / kSlotWords);
}

bool sameWords(const DeviceLinkWords& a, const DeviceLinkWords& b)
{
    return a.r1 == b.r1 && a.r2 == b.r2 && a.r3 == b.r3 && a.r4 == b.r4;
}

} // namespace

LinkAreaWords EncodeLinkArea(std::span<const LinkRecord> links)
{
    LinkAreaWords words;
    words.reserve(kSlotWords * (links.size() + 1));
    for (const LinkRecord& link : links) {
        const DeviceLinkWords slot = EncodeLinkWords(link);
        words.insert(words.end(), {slot.r1, slot.r2, slot.r3, slot.r4});
    }
    words.insert(words.end(), kSlotWords, kEndSlotWord);
    return words;
}

DeviceLinkWords LinkAreaSlot(std::span<const uint16_t> words, int32_t slot)
{
    const auto word = [&](std::size_t i) {
        const std::size_t at = kSlotWords * static_cast<std::size_t>(slot - 1) + i;
        return slot >= 1 && at < words.size() ? words[at] : uint16_t{0};
    };
    return {word(0), word(1), word(2), word(3)};
}

DecodedLinkArea DecodeLinkArea(std::span<const uint16_t> words)
{
    DecodedLinkArea area;
    const int32_t slots = std::min(slotCount(words), DeviceRegisters::DeviceLinkSlots);
    while (area.slotsRead < slots && !area.terminated) {
        const DeviceLinkWords slot = LinkAreaSlot(words, ++area.slotsRead);
        area.terminated = slot.r1 == kEndSlotWord;
        if (!area.terminated) {
            LinkRecord link;
            DecodeLink(slot, link);
            area.links.push_back(std::move(link));
        }
    }
    return area;
}

std::optional<LinkAreaDifference> CompareLinkAreas(std::span<const uint16_t> expected,
                                                   std::span<const uint16_t> found)
{
    for (int32_t slot = 1; slot <= slotCount(expected); ++slot) {
        const DeviceLinkWords want = LinkAreaSlot(expected, slot);
        const DeviceLinkWords have = LinkAreaSlot(found, slot);
        if (!sameWords(want, have))
            return LinkAreaDifference{slot, want, have};
    }
    return std::nullopt;
}
