#include "editor/rules/LinkStepName.h"

#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"

#include <filesystem>

namespace {

int messageOf(LinkStep step)
{
    switch (step) {
    case LinkStep::TakeOver:
        return kMessageTakeOverStep;
    case LinkStep::Delete:
        return kMessageDeleteStep;
    case LinkStep::Activate:
        return kMessageActivateStep;
    case LinkStep::Deactivate:
        return kMessageDeactivateStep;
    }
    return kMessageTakeOverStep;
}

} // namespace

StepName LinkStepName(LinkStep step, int32_t link)
{
    return [message = messageOf(step), number = IntToText(link)] { return GetMessageText(message, {number}, 0); };
}

StepName LoadStepName(const std::string& fileName)
{
    // The file's own name is enough in a menu; the folder makes it unreadable.
    return [name = fileNameToAnsi(std::filesystem::path(fileName).filename().string())] {
        return GetMessageText(kMessageLoadStep, {name}, 0);
    };
}

StepName CommandStepName(int caption)
{
    return [caption] { return GetFormText("F_Kalmoria_main", caption); };
}
