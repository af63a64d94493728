#pragma once

// The window's flows on a station's link table with a file: emptying it,
// loading a link file into it, saving it, and the question before edited
// links would be lost. Each asks through LinkTableQuestions; a change of the
// links is a step of the undo history where one records them.

#include "model/LinkFile.h"

#include <string>

class LinkChangeRecorder;
class LinkTableQuestions;
struct Station;

class LinkTableFlows {
public:
    enum class Unsaved {
        NoneUnsaved, // nothing to lose: nothing was asked
        GoOn,        // saved, or the user lets them go
        Cancel,      // everything stays as it is
    };

    // `workFolder`: where a save proposes a link file that names no folder
    // of its own (the working folder at start).
    LinkTableFlows(Station& station, LinkTableQuestions& questions, std::string workFolder,
                   LinkChangeRecorder* history = nullptr);

    // When the table holds unsaved edits, asks whether to save them first.
    // Save saves with `overview` and goes on only when the file was written.
    Unsaved ResolveUnsavedLinks(const OverviewRows& overview);
    // Whether every link may go: the question about unsaved edits, which
    // already says that they go, else message 14.
    bool MayLetLinksGo(const OverviewRows& overview);
    // Asks as MayLetLinksGo does; when the links may go, empties the table
    // and marks the data as consistent. True when the user confirmed.
    bool DeleteAllLinks(const OverviewRows& overview);
    // Replaces the links by those of a file chosen starting in `folder`; they
    // stay as they were until a file has really been read. True when loaded.
    bool LoadLinkFile(const std::string& folder);
    // Saves the links and `overview` into a file the user chooses; refused
    // while the data are incomplete. True when the file was written.
    bool SaveLinkFile(const OverviewRows& overview);

private:
    Station& m_station;
    LinkTableQuestions& m_questions;
    const std::string m_workFolder;
    LinkChangeRecorder* m_history;
};
