#include "app/DeleteAllLinks.h"

#include "comm/ShellView.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"

bool AskDeleteAllLinks()
{
    const std::string question = GetMessageText(14, {DefaultMessageArgument}, 0);
    return MessageBoxEx(question, mbQuestion, mbYesNo, 0) == idYes;
}

bool DeleteAllLinks(ShellView& view)
{
    const bool confirmed = AskDeleteAllLinks();
    if (confirmed) {
        ClearAllLinks();
        DataState = 0;
    }
    view.ShowStatus();
    view.SelectPage(0);
    return confirmed;
}
