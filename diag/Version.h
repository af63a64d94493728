#pragma once

// KALMORIA_VERSION, the program's version as a string literal ("1.30"), comes
// from the project's one version number in the top CMakeLists.txt through
// kalmoria_diag: it stands in the window's title, in every link file and in
// --version.
#ifndef KALMORIA_VERSION
#error "KALMORIA_VERSION is set by the build for everything that links kalmoria_diag"
#endif
