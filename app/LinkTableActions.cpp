#include "app/LinkTableActions.h"

#include "core/LinkTableFlows.h"
#include "diag/MessageNumbers.h"
#include "i18n/NoticeText.h"
#include "sequences/DeviceNotices.h"
#include "widgets/ShellView.h"

namespace {

constexpr int kLinkTablePage = 2;

} // namespace

bool DeleteAllLinks(ShellView& view, LinkTableFlows& flows, const OverviewRows& overview)
{
    const bool confirmed = flows.DeleteAllLinks(overview);
    view.ShowStatus();
    view.SelectPage(0);
    return confirmed;
}

void LoadLinksFromChosenFile(ShellView& view, LinkTableFlows& flows, bool modulesKnown, const std::string& folder,
                             const OverviewRows& overview)
{
    if (!modulesKnown) {
        ShowNotices({DeviceNotice(kMessageNoModulesForLinks, Notice::Severity::Information)});
        return;
    }
    // The question comes first, as for deleting all links; the links go only
    // once the file has been read.
    const bool confirmed = flows.MayLetLinksGo(overview);
    view.ShowStatus();
    view.SelectPage(0);
    if (!confirmed || !flows.LoadLinkFile(folder))
        return;
    view.ShowStatus();
    view.SelectPage(kLinkTablePage);
}
