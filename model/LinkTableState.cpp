#include "model/LinkTableState.h"

#include "model/DeviceValues.h"

LinkTableState CaptureLinkTable()
{
    return {CurrentLinks(), LinkTableOrigin, LastKeptLinks(), CaptureOverview()};
}

void RestoreLinkTable(const LinkTableState& from, const LinkTableState& to)
{
    ReplaceLinks(to.links);
    if (LinkTableOrigin == from.origin)
        LinkTableOrigin = to.origin;
    if (LastKeptLinks().number == from.kept.number)
        PutBackKeptLinks(to.kept);
    if (CaptureOverview() == from.overview)
        RestoreOverview(to.overview);
}
