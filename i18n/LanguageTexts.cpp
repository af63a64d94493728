#include "i18n/LanguageTexts.h"

#include "i18n/MessageBoxEx.h"

// Placeholder until the language files land: every text shows its number.
std::string GetText(int n, const std::string&)
{
    return n == 0 ? std::string() : "@" + std::to_string(n);
}

std::string GetMessageText(int n, const std::vector<std::string>&, int)
{
    return "@" + std::to_string(n);
}

void ShowMessageText(int n, const std::vector<std::string>& arguments, int lastIndex)
{
    MessageBoxEx(GetMessageText(n, arguments, lastIndex), mbInformation, mbOk, 0);
}
