#include "i18n/NoticeText.h"

#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"

std::string NoticeText(const Notice& notice, const std::string& variant)
{
    std::string text =
        GetMessageText(notice.number, notice.arguments, static_cast<int>(notice.arguments.size()) - 1, variant)
        + notice.appended;
    for (const Notice& cause : notice.causes)
        text += "\r\r" + NoticeText(cause, variant);
    return text;
}

int NoticeBoxKind(Notice::Severity severity)
{
    switch (severity) {
    case Notice::Severity::Warning: return mbWarning;
    case Notice::Severity::Error: return mbError;
    case Notice::Severity::Information: break;
    }
    return mbInformation;
}

void ShowNotices(const std::vector<Notice>& notices)
{
    for (const Notice& notice : notices)
        MessageBoxEx(NoticeText(notice), NoticeBoxKind(notice.severity), mbOk, 0);
}
