#include "cli/CliMessages.h"

#include "capture/TransferWords.h"
#include "cli/ConsoleMessages.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/NoticeText.h"

std::string CliMessage(int n, const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return GetMessageText(n, {kDefaultMessageArgument}, 0);
    return GetMessageText(n, arguments, static_cast<int>(arguments.size()) - 1);
}

std::string TransferFailureText(const Result& result, int retries)
{
    if (result.outcome != Outcome::TransferFailed || result.transferResult == 0)
        return {};
    // The window's words ("no device", "the data shown are incomplete")
    // leave a script's user guessing: the cause, and whether repeating the
    // transfer was tried.
    Notice failed;
    failed.number = retries == 0 ? kMessageReadFailedNotRepeated : kMessageReadFailedRepeated;
    failed.severity = Notice::Severity::Error;
    const std::string repeats = IntToText(retries);
    failed.arguments = {TransferWords().ResultName(result.transferResult), repeats, repeats};
    // A network connection that went away stays told as its cause.
    if (!result.notices.empty())
        failed.causes = result.notices.back().causes;
    return NoticeText(failed, kConsoleWording);
}

std::string LinkCountText(int64_t count)
{
    const std::string forms = GetMessageText(kMessageLinkNoun, {}, -1);
    const std::size_t bar = forms.find('|');
    const std::string word = bar == std::string::npos ? forms : count == 1 ? forms.substr(0, bar) : forms.substr(bar + 1);
    return std::to_string(count) + " " + word;
}
