#pragma once

// Two link sets side by side, the table's (or a file's) and the device's:
// which links both hold, which differ and in what, which only one holds.
// The links are lined up like diff(1) lines up text: links equal in all
// fields anchor the rows; between two anchors a link left over on each side
// is taken for one link changed (one that kept its source or target start
// first, the rest in order), and what is left beyond is on one side only.

#include "model/LinkModel.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

constexpr int kLinkFieldCount = 8;
using LinkFieldValues = std::array<int32_t, kLinkFieldCount>;
// ModulQ, RegVon, BitVon, AnzBit, ModulZ, RegZ, BitZ, deaktiv.
extern const std::array<const char*, kLinkFieldCount> kLinkFieldNames;
LinkFieldValues FieldValues(const LinkRecord& link);

enum class LinkRowStatus { Same, Changed, OnlyHere, OnlyOnDevice };

struct LinkComparisonRow {
    LinkRowStatus status = LinkRowStatus::Same;
    int32_t here = 0;   // 1-based link number on this side; 0 when only on the device
    int32_t device = 0; // 1-based slot on the device; 0 when only here
    std::array<bool, kLinkFieldCount> differs{}; // for a changed link: the fields that differ

    bool operator==(const LinkComparisonRow&) const = default;
};

std::vector<LinkComparisonRow> CompareLinks(std::span<const LinkRecord> here, std::span<const LinkRecord> device);

// Whether two link sets differ as the comparison lines them up: some link is
// changed or on one side only. The one meaning of "differs" for the link
// table page, `diff` and the list of snapshots.
bool LinkSetsDiffer(std::span<const LinkRecord> here, std::span<const LinkRecord> device);

// The comparison as diff(1) shows it, from the device to this side: a line
// "- n  f1,f2,..." for each link the device holds that differs ("n" its slot),
// then "+ n  ..." for what this side would put in its place. Given
// `moduleText`, ModulQ and ModulZ are shown as it names a module address,
// for a person; without it, as the raw addresses.
struct LinkDiff {
    std::vector<std::string> lines;
    int32_t differing = 0; // rows that are not the same
};
using ModuleNamer = std::function<std::string(int32_t address)>;
LinkDiff DiffLinks(std::span<const LinkRecord> here, std::span<const LinkRecord> device,
                   const ModuleNamer& moduleText = {});
// The line that names the fields of those lines: "@@ Nr  ModulQ,RegVon,...".
std::string LinkDiffLegend();
