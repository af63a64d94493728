#include "editor/rules/LinkProblemText.h"

#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"

namespace {

std::string number(int32_t value)
{
    return IntToText(value);
}

std::string plainText(const LinkProblem& problem, std::span<const LinkRecord> links)
{
    const std::string link = number(problem.link);
    switch (problem.kind) {
    case LinkProblemKind::TargetOverlap:
        return GetMessageText(kMessageTargetOverlap, {link, number(problem.other)}, 1);
    case LinkProblemKind::Duplicate:
        return GetMessageText(kMessageDuplicateLink, {link, number(problem.other)}, 1);
    case LinkProblemKind::OutsideGroups:
        return GetMessageText(kMessageOutsideGroups, {link, number(problem.module)}, 1);
    case LinkProblemKind::ModuleMissing:
        return GetMessageText(kMessageModuleMissing, {link, number(problem.module)}, 1);
    case LinkProblemKind::RangeNotAllowed:
        break;
    }
    const bool known = problem.link >= 1 && static_cast<std::size_t>(problem.link) <= links.size();
    const LinkRecord l = known ? links[static_cast<std::size_t>(problem.link - 1)] : LinkRecord{};
    return GetMessageText(kMessageRangeNotAllowed, {link, number(l.AnzBit), number(l.BitVon), number(l.BitZ)}, 3);
}

} // namespace

std::string LinkProblemText(const LinkProblem& problem, std::span<const LinkRecord> links)
{
    const std::string text = plainText(problem, links);
    return problem.refuses ? text : GetMessageText(kMessageInactiveProblem, {text}, 0);
}

std::string LinkProblemLines(const std::vector<LinkProblem>& problems, std::span<const LinkRecord> links, int32_t n)
{
    std::string lines;
    for (const LinkProblem& problem : problems) {
        if (n == 0 || problem.link == n)
            lines += (lines.empty() ? "" : "\r") + LinkProblemText(problem, links);
    }
    return lines;
}
