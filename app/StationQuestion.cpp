#include "app/StationQuestion.h"

#include "sequences/CheckedLinkWrite.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"

#include <algorithm>

bool AskWriteToOtherStation(const StationCheck& check, std::span<const int32_t> modulesAgreedMissing)
{
    if (!check.otherStation() &&
        std::includes(modulesAgreedMissing.begin(), modulesAgreedMissing.end(), check.missingModules.begin(),
                      check.missingModules.end()))
        return true;
    constexpr int kNoButton = 2;
    return MessageBoxEx(NoticeText(StationCheckNotice(check)), mbQuestion, mbYesNo, kNoButton) == idYes;
}
