#include "comm/DeviceMessages.h"

#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"

void ShowDeviceMessage(int n, int kind, const std::string& appended)
{
    MessageBoxEx(GetMessageText(n, {DefaultMessageArgument}, 0) + appended, kind, mbOk, 0);
}

void ShowDeviceMessage(int n, int kind, const std::vector<std::string>& arguments)
{
    MessageBoxEx(GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1), kind, mbOk, 0);
}
