#include "model/UnsavedLinks.h"

#include "model/Station.h"

void MarkLinksKept(Station& station, const std::string& keptAs, const std::string& linkFile)
{
    // Each keeping gets a number of its own, never given again.
    station.Kept = {station.CurrentLinks(), ++station.KeepingsGiven, keptAs, linkFile};
}

bool HasUnsavedLinks(const Station& station)
{
    return !SameLinks(station.CurrentLinks(), station.Kept.links);
}

const KeptLinks& LastKeptLinks(const Station& station)
{
    return station.Kept;
}

void PutBackKeptLinks(Station& station, const KeptLinks& kept)
{
    station.Kept = kept;
}
