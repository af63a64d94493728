#pragma once

// Where the link editor's edits of the link table go: each one a change with
// a name the user reads behind "Rückgängig:". The undo history keeps them as
// steps; without one they are just carried out.

#include <functional>
#include <string>

// A step's name (Windows-1252), put into words each time it is shown, so that
// the menu names a step in the language shown, also one made before a switch.
using StepName = std::function<std::string()>;

class LinkChangeRecorder {
public:
    virtual ~LinkChangeRecorder() = default;
    // Runs `change`; when it changed the link table, keeps it as one step
    // named `name`.
    virtual void Record(const StepName& name, const std::function<void()>& change) = 0;
};

// Runs `change` as a step named `name` of `recorder`, or just runs it where
// nothing records.
inline void ChangeLinks(LinkChangeRecorder* recorder, const StepName& name, const std::function<void()>& change)
{
    if (recorder != nullptr)
        recorder->Record(name, change);
    else
        change();
}
