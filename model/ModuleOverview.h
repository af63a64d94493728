#pragma once

// The module overview: one row of text cells per module in display order, as
// the main window's overview grid shows it, the link file keeps it and the
// command-line program prints it.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct Station;

constexpr int kOverviewColumns = 8;
// Below the heading row the grid holds one row per ModuleList position.
constexpr int kOverviewDataRows = 65;

// Which line of the main window's text table "MemTab" heads each column:
// address, type, name, source bits, source registers, target bits, target
// registers, second source registers.
constexpr std::array<int, kOverviewColumns> kOverviewHeadingLines{7, 8, 2, 9, 10, 11, 12, 13};

using OverviewRow = std::array<std::string, kOverviewColumns>;

// The longest text a device gives each column: the five digits of a 16-bit
// register for the address and the counts, 40 characters for type and name.
// A link file's copy of the overview is for people and may have been edited:
// what it holds beyond these is cut.
constexpr std::array<std::size_t, kOverviewColumns> kOverviewCellLengths{5, 40, 40, 5, 5, 5, 5, 5};

// Marks a cell that was cut; it counts towards the cell's length.
inline constexpr std::string_view kCutMark = "...";

// `cell` as an overview keeps it: unchanged up to `longest` characters, else
// its beginning and kCutMark, `longest` characters in all, so that a cut
// cell read again stays as it is.
std::string CutOverviewCell(std::string_view cell, std::size_t longest);

// The rows of the ModuleList positions 0 .. ModulAnzahl - 1 (at most
// kOverviewDataRows): the address the device's bus shows (relative to the
// device address), model text, name and the five counts. A position holding
// no module address gives an empty row.
std::vector<OverviewRow> ModuleOverviewRows(const Station& station);
