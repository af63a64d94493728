#pragma once

#include "sequences/SequenceObserver.h"

// The main window as the user commands and the editor pages see it: what a
// device sequence shows, and the pages it may turn to.
class ShellView : public SequenceObserver {
public:
    // Fills the module overview from the module table.
    virtual void ZeigeStation() = 0;
    virtual void SelectPage(int index) = 0;
    virtual void EnableLinkEditorPage() = 0;
};
