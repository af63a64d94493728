#include "capture/TransferWords.h"

#include "diag/MessageNumbers.h"
#include "i18n/LanguageTexts.h"
#include "protocol/Tvep.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr std::array<int32_t, 8> kResultCodes{Tvep::Ok,       Tvep::ErrPortClosed, Tvep::ErrException,
                                              Tvep::ErrNoReply, Tvep::ErrCrc,        Tvep::ErrMismatch,
                                              Tvep::ErrLength,  Tvep::ErrCapacity};

// The message's text with its placeholders left in; empty when the language
// file lacks it.
std::string messageTemplate(int n)
{
    const std::string text = GetMessageText(n, {}, -1);
    return text.empty() || text[0] == '@' ? std::string() : text;
}

std::string filledIn(std::string text, const std::vector<std::string>& arguments)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string placeholder = "%s" + std::to_string(i + 1);
        if (const size_t at = text.find(placeholder); at != std::string::npos)
            text.replace(at, placeholder.size(), arguments[i]);
    }
    return text;
}

} // namespace

TransferWords::TransferWords()
    : m_comment(messageTemplate(kMessageTransferResult))
    , m_repeatComment(messageTemplate(kMessageRepeatResult))
{
    std::string names = messageTemplate(kMessageResultNames);
    for (size_t from = 0; !names.empty() && from <= names.size();) {
        const size_t bar = std::min(names.find('|', from), names.size());
        m_names.push_back(names.substr(from, bar - from));
        from = bar + 1;
    }
}

std::string TransferWords::ResultName(int32_t result) const
{
    const auto known = std::ranges::find(kResultCodes, result);
    const auto index = static_cast<size_t>(std::distance(kResultCodes.begin(), known));
    if (known != kResultCodes.end() && index < m_names.size() && !m_names[index].empty())
        return m_names[index];
    return Tvep::ResultText(result);
}

std::string TransferWords::Comment(int64_t transfer, int32_t attempt, int32_t result) const
{
    const std::string number = std::to_string(transfer);
    const std::string code = std::to_string(result);
    if (attempt > 1 && !m_repeatComment.empty())
        return filledIn(m_repeatComment, {number, std::to_string(attempt), code, ResultName(result)});
    if (m_comment.empty())
        return "#" + number + ": " + code;
    return filledIn(m_comment, {number, code, ResultName(result)});
}
