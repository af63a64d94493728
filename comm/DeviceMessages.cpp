#include "comm/DeviceMessages.h"

#include "diag/ErrLog.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/DeviceValues.h"
#include "model/ModuleModel.h"

void ShowDeviceMessage(int n, int kind, const std::string& appended)
{
    MessageBoxEx(GetMessageText(n, {DefaultMessageArgument}, 0) + appended, kind, mbOk, 0);
}

void ShowDeviceMessage(int n, int kind, const std::vector<std::string>& arguments)
{
    MessageBoxEx(GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1), kind, mbOk, 0);
}

bool RefuseWhileDataIncomplete()
{
    if (DataState <= 0)
        return false;
    if (DebugBit(32))
        WriteErrLog("L12.W - Kommunikationsfehler verhindert Schreiben");
    ShowDeviceMessage(15, mbInformation);
    return true;
}
