#include "model/DeleteAllLinks.h"

#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/ShellView.h"

bool DeleteAllLinks(ShellView& view)
{
    const std::string question = GetMessageText(14, {DefaultMessageArgument}, 0);
    const bool confirmed = MessageBoxEx(question, mbQuestion, mbYesNo, 0) == idYes;
    if (confirmed) {
        while (AnzBefehle > 0) {
            const int32_t before = AnzBefehle;
            DeleteLink(AnzBefehle);
            if (AnzBefehle == before)
                break;
        }
        // A count the table cannot hold (from outside) is cleared slot by slot.
        if (AnzBefehle > 0) {
            for (int32_t n = 1; n < kLinkSlots; ++n)
                ClearLink(n);
            AnzBefehle = 0;
        }
        DataState = 0;
    }
    view.ShowStatus();
    view.SelectPage(0);
    return confirmed;
}
