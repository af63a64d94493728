#include "app/DeleteAllLinks.h"

#include "diag/MessageNumbers.h"
#include "app/UnsavedLinksQuestion.h"
#include "widgets/ShellView.h"
#include "editor/LinkHistory.h"
#include "editor/LinkStepName.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"

namespace {

// The command's own caption names the step: "Alle Verknüpfungen löschen".
constexpr int kDeleteAllCaption = 14;

} // namespace

bool AskDeleteAllLinks(const OverviewRows& overview)
{
    // One question only: the one about unsaved edits already says that they go.
    switch (AskAboutUnsavedLinks(overview)) {
    case UnsavedLinksAnswer::GoOn:
        return true;
    case UnsavedLinksAnswer::Cancel:
        return false;
    case UnsavedLinksAnswer::NoneUnsaved:
        break;
    }
    const std::string question = GetMessageText(kMessageDeleteAllLinks, {DefaultMessageArgument}, 0);
    return MessageBoxEx(question, mbQuestion, mbYesNo, 0) == idYes;
}

bool DeleteAllLinks(ShellView& view, const OverviewRows& overview, LinkHistory* history)
{
    const bool confirmed = AskDeleteAllLinks(overview);
    if (confirmed) {
        ChangeLinks(history, CommandStepName(kDeleteAllCaption), ClearAllLinks);
        DataState = 0;
    }
    view.ShowStatus();
    view.SelectPage(0);
    return confirmed;
}
