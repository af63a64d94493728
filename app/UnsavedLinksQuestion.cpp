#include "app/UnsavedLinksQuestion.h"

#include "app/LinkFileActions.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/LinkModel.h"
#include "model/UnsavedLinks.h"

UnsavedLinksAnswer AskAboutUnsavedLinks(const OverviewRows& overview)
{
    if (!HasUnsavedLinks())
        return UnsavedLinksAnswer::NoneUnsaved;
    const std::string question = GetMessageText(kMessageUnsavedLinks, {IntToText(AnzBefehle)}, 0);
    switch (MessageBoxEx(question, mbQuestion, mbSaveDiscardCancel, 0)) {
    case idYes:
        return SaveLinksToChosenFile(overview) ? UnsavedLinksAnswer::GoOn : UnsavedLinksAnswer::Cancel;
    case idNo:
        return UnsavedLinksAnswer::GoOn;
    default:
        return UnsavedLinksAnswer::Cancel;
    }
}
