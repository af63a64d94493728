#pragma once

#include "core/LinkTableQuestions.h"

// The link table's questions as the window asks them: a message box each, a
// file dialog for the file names. The links before a gap in a file are
// taken; the warning about them follows the load.
class LinkTableQuestionBoxes final : public LinkTableQuestions {
public:
    UnsavedAnswer AskAboutUnsavedLinks(int32_t links) override;
    bool ConfirmDeleteAllLinks() override;
    std::optional<std::string> ChooseFileToOpen(const std::string& folder) override;
    std::optional<std::string> ChooseFileToSave(const std::string& proposed) override;
    bool ReplaceOtherFile(const std::string& other) override;
    bool UseLinksBeforeGap(const LinkFileLoad&) override { return true; }
    void Tell(const std::vector<Notice>& notices) override;
};
