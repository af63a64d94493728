#pragma once

// The name of an undoable link step, in the words of the active language
// file: "Verknüpfung 4 löschen" behind "Rückgängig:".

#include <cstdint>
#include <string>

enum class LinkStep { TakeOver, Delete, Activate, Deactivate };

// Step `step` on link `link`.
std::string LinkStepName(LinkStep step, int32_t link);
// Links loaded from the file `fileName` (a link file or a snapshot).
std::string LoadStepName(const std::string& fileName);
