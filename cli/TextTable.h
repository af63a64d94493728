#pragma once

// Rows of cells printed as aligned columns, two blanks apart.

#include <string>
#include <vector>

using TextRow = std::vector<std::string>; // UTF-8 cells

// The rows as lines; each column as wide as its widest cell, counted in
// characters, not bytes. The last column is not padded.
std::string FormatTable(const std::vector<TextRow>& rows);
