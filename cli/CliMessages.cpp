#include "cli/CliMessages.h"

#include "i18n/LanguageTexts.h"
#include "diag/MessageNumbers.h"

std::string CliMessage(int n, const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return GetMessageText(n, {kDefaultMessageArgument}, 0);
    return GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1);
}

std::string LinkCountText(int64_t count)
{
    const std::string forms = GetMessageText(kMessageLinkNoun, {}, -1);
    const std::size_t bar = forms.find('|');
    const std::string word = bar == std::string::npos ? forms : count == 1 ? forms.substr(0, bar) : forms.substr(bar + 1);
    return std::to_string(count) + " " + word;
}
