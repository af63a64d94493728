#include "app/UnsavedLinksQuestion.h"

#include "app/LinkFileActions.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/Station.h"

UnsavedLinksAnswer AskAboutUnsavedLinks(Station& station, const std::string& workFolder, const OverviewRows& overview)
{
    if (!HasUnsavedLinks(station))
        return UnsavedLinksAnswer::NoneUnsaved;
    const std::string question = GetMessageText(kMessageUnsavedLinks, {IntToText(station.AnzBefehle)}, 0);
    switch (MessageBoxEx(question, mbQuestion, mbSaveDiscardCancel, 0)) {
    case idYes:
        return SaveLinksToChosenFile(station, workFolder, overview) ? UnsavedLinksAnswer::GoOn : UnsavedLinksAnswer::Cancel;
    case idNo:
        return UnsavedLinksAnswer::GoOn;
    default:
        return UnsavedLinksAnswer::Cancel;
    }
}
