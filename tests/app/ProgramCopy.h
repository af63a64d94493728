#pragma once

#include "tests/common/QmxSim.h"
#include "tests/common/TempDir.h"

#include <filesystem>
#include <string>

// Copies the real program and the one language file it cannot start without
// into `folder`, which then is its program folder: its marker files and its
// log lie there, and nothing left over in the build folder can reach it.
// Returns the path of the copied program.
inline std::string CopyProgramInto(const TempDir& folder)
{
    for (const char* name : {"Kalmoria", "Kalmoria.TXT"})
        std::filesystem::copy_file(QmxSim::binDir() + "/" + name, folder.file(name));
    return folder.file("Kalmoria");
}
