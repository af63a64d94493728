#pragma once

// A link problem in the words of the active language file.

#include "diag/MessageNumbers.h"
#include "editor/rules/LinkCheck.h"

#include <string>
#include <vector>

// One line, Windows-1252; a problem that does not refuse is marked as such.
std::string LinkProblemText(const LinkProblem& problem, std::span<const LinkRecord> links);
// The lines of every problem of link `n`, for a hint; empty when it has none.
std::string LinkProblemLines(const std::vector<LinkProblem>& problems, std::span<const LinkRecord> links,
                             int32_t n = 0);
