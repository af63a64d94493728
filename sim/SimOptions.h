#pragma once

// The command line of qmx-sim.

#include "sim/Responder.h"

#include <string>
#include <vector>

namespace qmxsim {

struct SimOptions {
    std::string image;  // empty: the demo image beside the executable
    std::string device; // empty: a new pseudo-terminal
    bool pacing = true;
    bool verbose = false;
    bool help = false;
    std::string faultLog; // with random faults; empty: standard error
    Faults faults;
};

// Parses the arguments after the program name. False with a message in
// `error` on an unknown option or a value out of range.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The text of --help.
std::string SimUsage();

} // namespace qmxsim
