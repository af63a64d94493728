#pragma once

// The options Qt itself takes on any Qt program's command line (-style
// Fusion, -platform offscreen, -reverse, ...): a user's desktop, a theme
// tool or a test passes them, and Kalmoria leaves them to Qt, which removes
// them from the arguments when the application is made.

#include <optional>
#include <string_view>

// How many arguments from argv[i] on are one of Qt's options with its
// value: 1 or 2; 0 when argv[i] is none of them, -1 when it is one whose
// value is missing at the end.
int QtOptionLength(int argc, char** argv, int i);

// The platform a "-platform NAME" among the arguments chooses, if any.
std::optional<std::string_view> PlatformOption(int argc, char** argv);
