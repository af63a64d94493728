#include "app/DeleteAllLinks.h"

#include "diag/MessageNumbers.h"
#include "app/UnsavedLinksQuestion.h"
#include "widgets/ShellView.h"
#include "editor/LinkHistory.h"
#include "editor/LinkStepName.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/Station.h"

namespace {

// The command's own caption names the step: "Alle Verknüpfungen löschen".
constexpr int kDeleteAllCaption = 14;

} // namespace

bool AskDeleteAllLinks(Station& station, const std::string& workFolder, const OverviewRows& overview)
{
    // One question only: the one about unsaved edits already says that they go.
    switch (AskAboutUnsavedLinks(station, workFolder, overview)) {
    case UnsavedLinksAnswer::GoOn:
        return true;
    case UnsavedLinksAnswer::Cancel:
        return false;
    case UnsavedLinksAnswer::NoneUnsaved:
        break;
    }
    const std::string question = GetMessageText(kMessageDeleteAllLinks, {kDefaultMessageArgument}, 0);
    return MessageBoxEx(question, mbQuestion, mbYesNo, 0) == idYes;
}

bool DeleteAllLinks(ShellView& view, Station& station, const std::string& workFolder, const OverviewRows& overview,
                    LinkHistory* history)
{
    const bool confirmed = AskDeleteAllLinks(station, workFolder, overview);
    if (confirmed) {
        ChangeLinks(history, CommandStepName(kDeleteAllCaption), [&station] { station.ClearAllLinks(); });
        station.DataState = 0;
    }
    view.ShowStatus();
    view.SelectPage(0);
    return confirmed;
}
