#pragma once

#include <string>

// Folder of the running executable, ending in "/". Resolved from
// /proc/self/exe so it works before any Qt object exists.
std::string programFolder();
// Base name of the running executable without folder and extension ("Kalmoria").
std::string programBaseName();
