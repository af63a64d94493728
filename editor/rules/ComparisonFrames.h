#pragma once

// Which bits of the link editor's panes get a frame after "Mit QMX
// vergleichen": the bits of every link that differs from the device's links
// (a changed link as it is here and as the device holds it, a link only here,
// a link only on the device), its source bits on the source pane and its
// target bits on the target pane. The same alignment as the link table's
// marks and `kalmoria-cli diff` (CompareLinks).

#include "editor/rules/EditorLayout.h"
#include "model/LinkModel.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The device's side of a comparison: its links as read for it, or nothing
// when there is no comparison (any more). The link table page and the link
// editor share the one copy read.
struct ComparedDeviceLinks {
    std::shared_ptr<const std::vector<LinkRecord>> links;
};

// `count` bits from bit `bit` of register `reg` of a module, as a link names them.
struct FramedBits {
    int32_t module = 0;
    int32_t reg = 0;
    int32_t bit = 0;
    int32_t count = 0;

    bool operator==(const FramedBits&) const = default;
};

struct DifferingBits {
    std::vector<FramedBits> source; // bits the differing links read
    std::vector<FramedBits> target; // bits they write

    bool empty() const { return source.empty() && target.empty(); }
    bool operator==(const DifferingBits&) const = default;
};

DifferingBits DifferingLinkBits(std::span<const LinkRecord> here, std::span<const LinkRecord> device);

// The cells of a pane that show `module` from register `firstRegister` on and
// hold one of the bits. Any field value is safe.
using PaneFrames = std::array<bool, kPaneCells>;
PaneFrames FramedCells(std::span<const FramedBits> bits, int32_t module, int32_t firstRegister);
