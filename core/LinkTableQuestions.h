#pragma once

// What a user may be asked while the link table is replaced, emptied or
// saved. The flows (LinkTableFlows.h) decide when to ask; the window only
// answers, with its message boxes and file dialogs.

#include "core/LinkFileRead.h"
#include "diag/Notice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LinkTableQuestions : public LinkFileQuestions {
public:
    enum class UnsavedAnswer { Save, Discard, Cancel };

    // The table holds `links` links that are kept nowhere else: save them
    // first, let them go, or leave everything as it is.
    virtual UnsavedAnswer AskAboutUnsavedLinks(int32_t links) = 0;
    // Every link of the table goes: true to go on.
    virtual bool ConfirmDeleteAllLinks() = 0;
    // The link file to open, the chooser starting in `folder`; none: cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(const std::string& folder) = 0;
    // The link file to save to, `proposed` offered; none: cancelled.
    virtual std::optional<std::string> ChooseFileToSave(const std::string& proposed) = 0;
    // The save would replace `other`, an existing file the user did not name
    // (".ini" put in place of the extension given): true to replace it.
    virtual bool ReplaceOtherFile(const std::string& other) = 0;
    // What the user is told, at the point of the flow where it happens.
    virtual void Tell(const std::vector<Notice>& notices) = 0;
};
