#include "cli/CliMessages.h"

#include "i18n/LanguageTexts.h"
#include "model/DeviceValues.h"

std::string CliMessage(int n, const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return GetMessageText(n, {DefaultMessageArgument}, 0);
    return GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1);
}
