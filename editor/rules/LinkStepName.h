#pragma once

// The name of an undoable link step, in the words of the language file
// active when it is shown: "Verknüpfung 4 löschen" behind "Rückgängig:".

#include "editor/rules/LinkChangeRecorder.h"

#include <cstdint>
#include <string>

enum class LinkStep { TakeOver, Delete, Activate, Deactivate };

// Step `step` on link `link`.
StepName LinkStepName(LinkStep step, int32_t link);
// Links loaded from the file `fileName` (a link file or a snapshot).
StepName LoadStepName(const std::string& fileName);
// A step named by the main window's command that made it, such as "QMX lesen":
// caption `caption` of its form.
StepName CommandStepName(int caption);
