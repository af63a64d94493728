#include "app/StationQuestion.h"

#include "comm/CheckedLinkWrite.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"

bool AskWriteToOtherStation(const StationCheck& check)
{
    constexpr int kNoButton = 2;
    return MessageBoxEx(NoticeText(StationCheckNotice(check)), mbQuestion, mbYesNo, kNoButton) == idYes;
}
