#include "comm/DeviceMessages.h"

#include "comm/PortAccess.h"
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

bool ShowPortOpenProblem(int32_t port, const PortOpenProblem& problem)
{
    const std::string comPort = "COM" + std::to_string(port);
    switch (problem.cause) {
    case PortOpenProblem::Cause::AccessDenied:
        // The group goes in twice: once in the words, once in the command to type.
        ShowDeviceMessage(kMessagePortAccessDenied, mbError,
                          std::vector<std::string>{comPort, problem.path, problem.group, problem.group});
        return true;
    case PortOpenProblem::Cause::InUse:
        ShowDeviceMessage(kMessagePortInUse, mbError, std::vector<std::string>{comPort, problem.path});
        return true;
    default:
        return false;
    }
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
