#include "app/WriteQuestionBoxes.h"

#include "editor/rules/LinkProblemText.h"
#include "model/Station.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"
#include "sequences/CheckedLinkWrite.h"

#include <algorithm>

namespace {

constexpr int kNoButton = 2;

bool askYesNo(const std::string& question)
{
    return MessageBoxEx(question, mbQuestion, mbYesNo, kNoButton) == idYes;
}

} // namespace

WriteQuestions::Consent WriteQuestionBoxes::WriteDespiteLinkProblems(const std::vector<LinkProblem>& problems)
{
    // A box fits a screenful: the first problems stand for the rest.
    constexpr std::size_t kListedProblems = 15;
    const std::vector<LinkProblem> listed(
        problems.begin(), problems.begin() + static_cast<std::ptrdiff_t>(std::min(problems.size(), kListedProblems)));
    std::string lines = LinkProblemLines(listed, m_station.CurrentLinks());
    if (problems.size() > kListedProblems)
        lines += "\r...";
    return askYesNo(GetMessageText(kMessageWriteDespiteProblems, {lines}, 0)) ? Consent::Agreed : Consent::Refused;
}

bool WriteQuestionBoxes::WriteToOtherStation(const StationCheck& check)
{
    return askYesNo(NoticeText(StationCheckNotice(check)));
}
