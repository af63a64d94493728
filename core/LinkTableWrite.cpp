#include "core/LinkTableWrite.h"

#include "core/WriteQuestions.h"
#include "model/LinkComparison.h"
#include "model/Station.h"

#include <algorithm>

namespace {

CheckedLinkWriteResult refused()
{
    CheckedLinkWriteResult result;
    result.outcome = Outcome::Refused;
    return result;
}

// The missing modules the list of problems names, ascending.
std::vector<int32_t> missingModulesNamed(const std::vector<LinkProblem>& problems)
{
    std::vector<int32_t> modules;
    for (const LinkProblem& problem : problems) {
        if (problem.kind == LinkProblemKind::ModuleMissing)
            modules.push_back(problem.module);
    }
    std::sort(modules.begin(), modules.end());
    return modules;
}

// The problems of links the write adds or changes: a link the device holds
// as it is (as often as the table has it) is left out.
std::vector<LinkProblem> problemsOfNewLinks(const std::vector<LinkProblem>& problems,
                                            const std::vector<LinkRecord>& links,
                                            std::vector<LinkRecord> onDevice)
{
    std::vector<bool> held(links.size(), false);
    for (std::size_t i = 0; i < links.size(); ++i) {
        const auto same = std::find_if(onDevice.begin(), onDevice.end(), [&](const LinkRecord& device) {
            return FieldValues(device) == FieldValues(links[i]);
        });
        if (same != onDevice.end()) {
            held[i] = true;
            onDevice.erase(same);
        }
    }
    std::vector<LinkProblem> remaining;
    for (const LinkProblem& problem : problems) {
        const auto index = static_cast<std::size_t>(problem.link - 1);
        if (problem.link < 1 || index >= links.size() || !held[index])
            remaining.push_back(problem);
    }
    return remaining;
}

} // namespace

CheckedLinkWriteResult WriteLinkTable(Tvep& vep, Station& station, SequenceObserver* observer, const LinkWriteChecks& checks,
                                      const OverviewRows& overview, WriteQuestions& questions,
                                      const std::optional<std::vector<LinkRecord>>& onDevice)
{
    CheckedLinkWriteResult result;
    // A table the write refuses anyway is not asked about first.
    if (RefuseLinkWrite(station, result))
        return result;
    const std::vector<LinkRecord> links = station.CurrentLinks();
    const std::vector<LinkProblem> problems = onDevice
                                                  ? problemsOfNewLinks(CheckLinks(station, links), links, *onDevice)
                                                  : CheckLinks(station, links);
    // Modules count as agreed missing only where the user was shown them.
    std::vector<int32_t> agreed;
    if (AnyRefuses(problems)) {
        const WriteQuestions::Consent consent = questions.WriteDespiteLinkProblems(problems);
        if (consent == WriteQuestions::Consent::Refused)
            return refused();
        if (consent == WriteQuestions::Consent::Agreed)
            agreed = missingModulesNamed(problems);
    }
    if (!questions.ConfirmWrite())
        return refused();
    if (!problems.empty())
        questions.TellLinkProblems(problems);

    const auto confirmStation = [&questions, &agreed](const StationCheck& check) {
        // One question is enough for a module the user already agreed to.
        if (!check.otherStation()
            && std::includes(agreed.begin(), agreed.end(), check.missingModules.begin(), check.missingModules.end()))
            return true;
        return questions.WriteToOtherStation(check);
    };
    return WriteLinksChecked(vep, station, observer, checks, overview, confirmStation);
}
