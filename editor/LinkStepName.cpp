#include "editor/LinkStepName.h"

#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"

#include <filesystem>

namespace {

constexpr int kMessageTakeOverStep = 90;   // %s1 link
constexpr int kMessageDeleteStep = 91;     // %s1 link
constexpr int kMessageActivateStep = 92;   // %s1 link
constexpr int kMessageDeactivateStep = 93; // %s1 link
constexpr int kMessageLoadStep = 94;       // %s1 file name

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
