#pragma once

// Before the links go to the device: the ones the editor would not have
// made are listed, and the user decides; No is the default.

#include <cstdint>
#include <vector>

struct LinkProblemAnswer {
    // No active link has a problem, or the user said Yes to the list.
    bool goOn = true;
    // Modules the user agreed the station lacks, in ascending order: the
    // device's own module check need not ask about them again.
    std::vector<int32_t> modulesAgreedMissing;
};

LinkProblemAnswer AskWriteDespiteLinkProblems();
