#pragma once

// A numbered message of the language files that one part of the program has
// for the user, handed to whichever front end shows it: a box in the window,
// a line on the console. The parts that find something to say show nothing
// themselves.

#include <string>
#include <vector>

struct Notice {
    enum class Severity { Warning, Error, Information };

    int number = 0;
    Severity severity = Severity::Information;
    // Replace "%s1", "%s2", ... in turn; without any, the message gets the
    // argument every message without arguments of its own gets.
    std::vector<std::string> arguments;
    // Follows the text directly: a result code, a device type.
    std::string appended;
    // What brought it about, told after it in the same box or console line:
    // a network connection that went away.
    std::vector<Notice> causes;
};
