#pragma once

// The table of bit links: link n lives in slot n (slot 0 is unused), and the
// slot behind the last link serves as the end marker while reading.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr int kLinkTableSlots = 301;
constexpr int kMaxLinks = kLinkTableSlots - 2; // the end-marker slot must stay free

struct LinkRecord {
    int32_t ModulQ = 0;
    int32_t RegVon = 0;
    int32_t BitVon = 0;
    int32_t AnzBit = 0;
    int32_t ModulZ = 0;
    int32_t RegZ = 0;
    int32_t BitZ = 0;
    int32_t deaktiv = 0; // 0 = active
    std::string encodedText;
};

// The four 16-bit words a link occupies in the device's link area.
struct DeviceLinkWords {
    uint16_t r1 = 0; // deaktiv * 0x8000 + ModulQ * 256 + ModulZ
    uint16_t r2 = 0; // RegVon
    uint16_t r3 = 0; // RegZ
    uint16_t r4 = 0; // BitVon * 4096 + BitZ * 256 + AnzBit
};

// A first word of 0xFFFF closes the device's link list.
constexpr uint16_t kEndSlotWord = 0xFFFF;
inline constexpr char kEmptyLinkText[] = "FFFF,FFFF,FFFF,FFFF";

// True for the slots that may be indexed: 0..300.
bool IsLinkSlot(int32_t n);

// A station's table of links, one part of its Station.
struct LinkTableModel {
    std::array<LinkRecord, kLinkTableSlots> LinkTable{};
    int32_t AnzBefehle = 0;

    void ClearLink(int32_t n);
    // Removes link n (1..AnzBefehle); the links behind it move down one slot.
    void DeleteLink(int32_t n);
    // Empties the whole table: every link goes, AnzBefehle becomes 0.
    void ClearAllLinks();
    // Makes `links` the table's links (at most kMaxLinks of them), each with
    // its encodedText; every other slot is emptied.
    void ReplaceLinks(std::span<const LinkRecord> links);
    // Links 1..AnzBefehle.
    std::vector<LinkRecord> CurrentLinks() const;
    // Adds a new, inactive link behind the last one. False (and nothing
    // changes) when the table is full.
    bool AppendLink(int32_t modulQ, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t modulZ,
                    int32_t regZ, int32_t bitZ);
    // Device form of link n (1..AnzBefehle), also stored as its encodedText.
    // For n behind the last link only that slot's AnzBit is zeroed and false
    // returned.
    bool EncodeLink(int32_t n, DeviceLinkWords& words);
};

// The same eight number fields; encodedText follows from them.
bool SameLinkFields(const LinkRecord& a, const LinkRecord& b);
// The same links in the same order.
bool SameLinks(std::span<const LinkRecord> a, std::span<const LinkRecord> b);
DeviceLinkWords EncodeLinkWords(const LinkRecord& link);
// The four words as a link's encodedText holds them: "8305,0064,012C,2704".
std::string LinkWordsText(const DeviceLinkWords& words);
// Fills the eight number fields of a link from its device form.
void DecodeLink(const DeviceLinkWords& words, LinkRecord& link);
