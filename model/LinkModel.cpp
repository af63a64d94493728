#include "model/LinkModel.h"

#include "diag/TextHelpers.h"

#include <algorithm>
#include <tuple>

namespace {

void copyNumberFields(const LinkRecord& from, LinkRecord& to)
{
    std::string keep = std::move(to.encodedText);
    to = from;
    to.encodedText = std::move(keep);
}

} // namespace

bool IsLinkSlot(int32_t n)
{
    return n >= 0 && n < kLinkTableSlots;
}

void LinkTableModel::ClearLink(int32_t n)
{
    if (!IsLinkSlot(n))
        return;
    LinkTable[static_cast<std::size_t>(n)] = LinkRecord{};
    LinkTable[static_cast<std::size_t>(n)].encodedText = kEmptyLinkText;
}

void LinkTableModel::DeleteLink(int32_t n)
{
    if (n < 1 || n > AnzBefehle || AnzBefehle >= kLinkTableSlots - 1)
        return;
    // The end-marker slot (AnzBefehle + 1) moves down with the links.
    for (int32_t slot = n; slot <= AnzBefehle; ++slot)
        copyNumberFields(LinkTable[static_cast<std::size_t>(slot + 1)], LinkTable[static_cast<std::size_t>(slot)]);
    const int32_t formerEndMarker = AnzBefehle + 1;
    --AnzBefehle;
    ClearLink(formerEndMarker);
}

void LinkTableModel::ClearAllLinks()
{
    while (AnzBefehle > 0) {
        const int32_t before = AnzBefehle;
        DeleteLink(AnzBefehle);
        if (AnzBefehle == before)
            break;
    }
    // A count the table cannot hold (from outside) is cleared slot by slot.
    if (AnzBefehle > 0) {
        for (int32_t n = 1; n < kLinkTableSlots; ++n)
            ClearLink(n);
        AnzBefehle = 0;
    }
}

void LinkTableModel::ReplaceLinks(std::span<const LinkRecord> links)
{
    for (int32_t slot = 1; slot < kLinkTableSlots; ++slot)
        ClearLink(slot);
    AnzBefehle = 0;
    for (const LinkRecord& link : links.first(std::min<std::size_t>(links.size(), kMaxLinks))) {
        ++AnzBefehle;
        LinkTable[static_cast<std::size_t>(AnzBefehle)] = link;
        DeviceLinkWords words;
        EncodeLink(AnzBefehle, words);
    }
}

std::vector<LinkRecord> LinkTableModel::CurrentLinks() const
{
    const int32_t count = std::clamp(AnzBefehle, 0, kMaxLinks);
    return {LinkTable.begin() + 1, LinkTable.begin() + 1 + count};
}

bool SameLinkFields(const LinkRecord& a, const LinkRecord& b)
{
    const auto fields = [](const LinkRecord& l) {
        return std::tie(l.ModulQ, l.RegVon, l.BitVon, l.AnzBit, l.ModulZ, l.RegZ, l.BitZ, l.deaktiv);
    };
    return fields(a) == fields(b);
}

bool SameLinks(std::span<const LinkRecord> a, std::span<const LinkRecord> b)
{
    return std::ranges::equal(a, b, SameLinkFields);
}

bool LinkTableModel::AppendLink(int32_t modulQ, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t modulZ,
                int32_t regZ, int32_t bitZ)
{
    if (AnzBefehle >= kMaxLinks)
        return false;
    ++AnzBefehle;
    LinkRecord& link = LinkTable[static_cast<std::size_t>(AnzBefehle)];
    link.ModulQ = modulQ;
    link.RegVon = regVon;
    link.BitVon = bitVon;
    link.AnzBit = anzBit;
    link.ModulZ = modulZ;
    link.RegZ = regZ;
    link.BitZ = bitZ;
    link.deaktiv = 1;
    return true;
}

DeviceLinkWords EncodeLinkWords(const LinkRecord& link)
{
    // Each word is computed in 16 bits, as the device stores it; unsigned
    // arithmetic so that out-of-range fields wrap instead of overflowing.
    const auto u = [](int32_t field) { return static_cast<uint32_t>(field); };
    DeviceLinkWords words;
    // Any non-zero deaktiv means inactive; only bit 15 may carry it.
    const uint32_t inactive = link.deaktiv != 0 ? 0x8000u : 0u;
    words.r1 = static_cast<uint16_t>(inactive + u(link.ModulQ) * 256u + u(link.ModulZ));
    words.r2 = static_cast<uint16_t>(u(link.RegVon));
    words.r3 = static_cast<uint16_t>(u(link.RegZ));
    words.r4 = static_cast<uint16_t>(u(link.BitVon) * 4096u + u(link.BitZ) * 256u + u(link.AnzBit));
    return words;
}

bool LinkTableModel::EncodeLink(int32_t n, DeviceLinkWords& words)
{
    if (!IsLinkSlot(n))
        return false;
    LinkRecord& link = LinkTable[static_cast<std::size_t>(n)];
    if (n > AnzBefehle) {
        link.AnzBit = 0;
        return false;
    }
    words = EncodeLinkWords(link);
    link.encodedText = LinkWordsText(words);
    return true;
}

std::string LinkWordsText(const DeviceLinkWords& words)
{
    return WordToHex4(words.r1) + "," + WordToHex4(words.r2) + "," + WordToHex4(words.r3) + "," + WordToHex4(words.r4);
}

void DecodeLink(const DeviceLinkWords& words, LinkRecord& link)
{
    link.deaktiv = words.r1 >> 15;
    link.ModulQ = (words.r1 >> 8) & 0x7F;
    link.ModulZ = words.r1 & 0x7F;
    link.RegVon = words.r2;
    link.RegZ = words.r3;
    link.BitVon = (words.r4 >> 12) & 0xF;
    link.BitZ = (words.r4 >> 8) & 0xF;
    link.AnzBit = words.r4 & 0xFF;
}
