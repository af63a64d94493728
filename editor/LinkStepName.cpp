#include "editor/LinkStepName.h"

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

std::string LinkStepName(LinkStep step, int32_t link)
{
    return GetMessageText(messageOf(step), {IntToText(link)}, 0);
}

std::string LoadStepName(const std::string& fileName)
{
    // The file's own name is enough in a menu; the folder makes it unreadable.
    return GetMessageText(kMessageLoadStep, {fileNameToAnsi(std::filesystem::path(fileName).filename().string())}, 0);
}
