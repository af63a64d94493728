#include "model/LinkTableState.h"

#include "model/Station.h"

LinkTableState CaptureLinkTable(const Station& station)
{
    return {station.CurrentLinks(), station.LinkTableOrigin, LastKeptLinks(station), CaptureOverview(station)};
}

void RestoreLinkTable(Station& station, const LinkTableState& from, const LinkTableState& to)
{
    station.ReplaceLinks(to.links);
    if (station.LinkTableOrigin == from.origin)
        station.LinkTableOrigin = to.origin;
    if (LastKeptLinks(station).number == from.kept.number)
        PutBackKeptLinks(station, to.kept);
    if (CaptureOverview(station) == from.overview)
        RestoreOverview(station, to.overview);
}
