#pragma once

// A link problem in the words of the active language file.

#include "editor/LinkCheck.h"

#include <string>
#include <vector>

constexpr int kMessageWriteDespiteProblems = 80; // %s1 the problems, one a line
constexpr int kMessageTargetOverlap = 81;        // %s1 link, %s2 the earlier link
constexpr int kMessageRangeNotAllowed = 82;      // %s1 link, %s2 bits, %s3 source bit, %s4 target bit
constexpr int kMessageOutsideGroups = 83;        // %s1 link, %s2 module
constexpr int kMessageModuleMissing = 84;        // %s1 link, %s2 module
constexpr int kMessageDuplicateLink = 85;        // %s1 link, %s2 the earlier link
constexpr int kMessageInactiveProblem = 86;      // %s1 a problem of an inactive link
constexpr int kMessageLinkCheckRefused = 87;

// One line, Windows-1252; a problem that does not refuse is marked as such.
std::string LinkProblemText(const LinkProblem& problem, std::span<const LinkRecord> links);
// The lines of every problem of link `n`, for a hint; empty when it has none.
std::string LinkProblemLines(const std::vector<LinkProblem>& problems, std::span<const LinkRecord> links,
                             int32_t n = 0);
