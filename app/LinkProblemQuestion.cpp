#include "app/LinkProblemQuestion.h"

#include "editor/LinkCheck.h"
#include "editor/LinkProblemText.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"

#include <algorithm>

LinkProblemAnswer AskWriteDespiteLinkProblems()
{
    const std::vector<LinkRecord> links = CurrentLinks();
    const std::vector<LinkProblem> problems = CheckLinks(links);
    if (!AnyRefuses(problems))
        return {};
    constexpr int kNoButton = 2;
    // A box fits a screenful: the first problems stand for the rest.
    constexpr std::size_t kListedProblems = 15;
    const std::vector<LinkProblem> listed(problems.begin(),
                                          problems.begin() + static_cast<std::ptrdiff_t>(
                                                                 std::min(problems.size(), kListedProblems)));
    std::string lines = LinkProblemLines(listed, links);
    if (problems.size() > kListedProblems)
        lines += "\r...";
    const std::string question = GetMessageText(kMessageWriteDespiteProblems, {lines}, 0);
    if (MessageBoxEx(question, mbQuestion, mbYesNo, kNoButton) != idYes)
        return {.goOn = false, .modulesAgreedMissing = {}};
    LinkProblemAnswer answer;
    for (const LinkProblem& problem : problems) {
        if (problem.kind == LinkProblemKind::ModuleMissing)
            answer.modulesAgreedMissing.push_back(problem.module);
    }
    std::sort(answer.modulesAgreedMissing.begin(), answer.modulesAgreedMissing.end());
    return answer;
}
