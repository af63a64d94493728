#pragma once

#include "model/Station.h"

#include <array>
#include <cstdint>
#include <vector>

// The eight number fields of a link: ModulQ, RegVon, BitVon, AnzBit, ModulZ,
// RegZ, BitZ, deaktiv.
using LinkFields = std::array<int32_t, 8>;

inline LinkFields linkFields(const LinkRecord& l)
{
    return {l.ModulQ, l.RegVon, l.BitVon, l.AnzBit, l.ModulZ, l.RegZ, l.BitZ, l.deaktiv};
}

inline LinkRecord linkRecord(const LinkFields& f)
{
    LinkRecord l;
    l.ModulQ = f[0];
    l.RegVon = f[1];
    l.BitVon = f[2];
    l.AnzBit = f[3];
    l.ModulZ = f[4];
    l.RegZ = f[5];
    l.BitZ = f[6];
    l.deaktiv = f[7];
    return l;
}

inline std::vector<LinkRecord> linkRecords(const std::vector<LinkFields>& links)
{
    std::vector<LinkRecord> records;
    for (const LinkFields& f : links)
        records.push_back(linkRecord(f));
    return records;
}

inline std::vector<LinkFields> linkFields(const std::vector<LinkRecord>& links)
{
    std::vector<LinkFields> fields;
    for (const LinkRecord& l : links)
        fields.push_back(linkFields(l));
    return fields;
}

// Every link in the station's table now.
inline std::vector<LinkFields> tableLinks(const LinkTableModel& table)
{
    std::vector<LinkFields> links;
    for (int n = 1; n <= table.AnzBefehle && n < kLinkTableSlots; ++n)
        links.push_back(linkFields(table.LinkTable[static_cast<std::size_t>(n)]));
    return links;
}

// Empties the table and fills it with `links`, as they are.
inline void setTableLinks(LinkTableModel& table, const std::vector<LinkFields>& links)
{
    for (int n = 0; n < kLinkTableSlots; ++n)
        table.ClearLink(n);
    table.AnzBefehle = 0;
    for (const LinkFields& f : links)
        table.LinkTable[static_cast<std::size_t>(++table.AnzBefehle)] = linkRecord(f);
}
