#include "app/LinkTableQuestionBoxes.h"

#include "app/FileNameChooser.h"
#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"

LinkTableQuestions::UnsavedAnswer LinkTableQuestionBoxes::AskAboutUnsavedLinks(int32_t links)
{
    const std::string question = GetMessageText(kMessageUnsavedLinks, {IntToText(links)}, 0);
    switch (MessageBoxEx(question, mbQuestion, mbSaveDiscardCancel, 0)) {
    case idYes: return UnsavedAnswer::Save;
    case idNo: return UnsavedAnswer::Discard;
    default: return UnsavedAnswer::Cancel;
    }
}

bool LinkTableQuestionBoxes::ConfirmDeleteAllLinks()
{
    const std::string question = GetMessageText(kMessageDeleteAllLinks, {kDefaultMessageArgument}, 0);
    return MessageBoxEx(question, mbQuestion, mbYesNo, 0) == idYes;
}

std::optional<std::string> LinkTableQuestionBoxes::ChooseFileToOpen(const std::string& folder)
{
    return ChooseFileName({FileNameRequest::Purpose::Open, folder, {}});
}

std::optional<std::string> LinkTableQuestionBoxes::ChooseFileToSave(const std::string& proposed)
{
    return ChooseFileName({FileNameRequest::Purpose::Save, proposed, {}});
}

bool LinkTableQuestionBoxes::ReplaceOtherFile(const std::string& other)
{
    // No is the default: the name the user typed was another one.
    const std::string question = GetMessageText(kMessageReplaceOtherFile, {fileNameToAnsi(other)}, 0);
    return MessageBoxEx(question, mbQuestion, mbYesNo, 2) == idYes;
}

void LinkTableQuestionBoxes::Tell(const std::vector<Notice>& notices)
{
    ShowNotices(notices);
}
