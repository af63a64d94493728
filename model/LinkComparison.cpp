#include "model/LinkComparison.h"

#include <algorithm>

const std::array<const char*, kLinkFieldCount> kLinkFieldNames{"ModulQ", "RegVon", "BitVon", "AnzBit",
                                                               "ModulZ", "RegZ",   "BitZ",   "deaktiv"};

LinkFieldValues FieldValues(const LinkRecord& link)
{
    return {link.ModulQ, link.RegVon, link.BitVon, link.AnzBit, link.ModulZ, link.RegZ, link.BitZ, link.deaktiv};
}

namespace {

bool sameEnd(const LinkRecord& a, const LinkRecord& b)
{
    return (a.ModulQ == b.ModulQ && a.RegVon == b.RegVon && a.BitVon == b.BitVon) ||
           (a.ModulZ == b.ModulZ && a.RegZ == b.RegZ && a.BitZ == b.BitZ);
}

class Alignment {
public:
    Alignment(std::span<const LinkRecord> here, std::span<const LinkRecord> device)
        : m_here(here)
        , m_device(device)
        , m_columns(device.size() + 1)
        , m_common((here.size() + 1) * m_columns, 0)
    {
        // m_common[i, j]: how many links here[i..] and device[j..] have in common, in order.
        for (std::size_t i = here.size(); i-- > 0;) {
            for (std::size_t j = device.size(); j-- > 0;)
                common(i, j) = SameLinkFields(here[i], device[j]) ? common(i + 1, j + 1) + 1
                                                        : std::max(common(i + 1, j), common(i, j + 1));
        }
    }

    std::vector<LinkComparisonRow> rows()
    {
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < m_here.size() || j < m_device.size()) {
            if (i < m_here.size() && j < m_device.size() && SameLinkFields(m_here[i], m_device[j])) {
                flushGap();
                m_rows.push_back({LinkRowStatus::Same, number(i), number(j), {}});
                ++i;
                ++j;
            } else if (j == m_device.size() || (i < m_here.size() && common(i + 1, j) >= common(i, j + 1))) {
                m_hereGap.push_back(i++);
            } else {
                m_deviceGap.push_back(j++);
            }
        }
        flushGap();
        return std::move(m_rows);
    }

private:
    static int32_t number(std::size_t index) { return static_cast<int32_t>(index + 1); }

    int32_t& common(std::size_t i, std::size_t j) { return m_common[i * m_columns + j]; }

    // The links left over between two anchors: a link that kept its source
    // or its target start is taken for the same link changed, then the rest
    // is paired in order; what remains is on one side only.
    void flushGap()
    {
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        std::vector<bool> hereTaken(m_hereGap.size(), false);
        std::vector<bool> deviceTaken(m_deviceGap.size(), false);
        const auto pair = [&](const auto& fits) {
            for (std::size_t h = 0; h < m_hereGap.size(); ++h) {
                for (std::size_t d = 0; d < m_deviceGap.size() && !hereTaken[h]; ++d) {
                    if (!deviceTaken[d] && fits(m_here[m_hereGap[h]], m_device[m_deviceGap[d]])) {
                        hereTaken[h] = deviceTaken[d] = true;
                        pairs.emplace_back(m_hereGap[h], m_deviceGap[d]);
                    }
                }
            }
        };
        pair(sameEnd);
        pair([](const LinkRecord&, const LinkRecord&) { return true; });
        std::ranges::sort(pairs);
        for (const auto& [h, d] : pairs) {
            LinkComparisonRow row{LinkRowStatus::Changed, number(h), number(d), {}};
            const LinkFieldValues a = FieldValues(m_here[h]);
            const LinkFieldValues b = FieldValues(m_device[d]);
            for (std::size_t f = 0; f < a.size(); ++f)
                row.differs[f] = a[f] != b[f];
            m_rows.push_back(row);
        }
        for (std::size_t d = 0; d < m_deviceGap.size(); ++d) {
            if (!deviceTaken[d])
                m_rows.push_back({LinkRowStatus::OnlyOnDevice, 0, number(m_deviceGap[d]), {}});
        }
        for (std::size_t h = 0; h < m_hereGap.size(); ++h) {
            if (!hereTaken[h])
                m_rows.push_back({LinkRowStatus::OnlyHere, number(m_hereGap[h]), 0, {}});
        }
        m_hereGap.clear();
        m_deviceGap.clear();
    }

    std::span<const LinkRecord> m_here;
    std::span<const LinkRecord> m_device;
    std::size_t m_columns;
    std::vector<int32_t> m_common;
    std::vector<std::size_t> m_hereGap;
    std::vector<std::size_t> m_deviceGap;
    std::vector<LinkComparisonRow> m_rows;
};

} // namespace

std::vector<LinkComparisonRow> CompareLinks(std::span<const LinkRecord> here, std::span<const LinkRecord> device)
{
    return Alignment(here, device).rows();
}

bool LinkSetsDiffer(std::span<const LinkRecord> here, std::span<const LinkRecord> device)
{
    const std::vector<LinkComparisonRow> rows = CompareLinks(here, device);
    return std::any_of(rows.begin(), rows.end(),
                       [](const LinkComparisonRow& row) { return row.status != LinkRowStatus::Same; });
}

namespace {

std::string fieldsText(const LinkRecord& link, const ModuleNamer& moduleText)
{
    const LinkFieldValues values = FieldValues(link);
    std::string text;
    for (std::size_t f = 0; f < values.size(); ++f) {
        // ModulQ and ModulZ are the first field of the source and of the target.
        const bool module = moduleText && (f == 0 || f == 4);
        text += (f == 0 ? "" : ",") + (module ? moduleText(values[f]) : std::to_string(values[f]));
    }
    return text;
}

} // namespace

LinkDiff DiffLinks(std::span<const LinkRecord> here, std::span<const LinkRecord> device, const ModuleNamer& moduleText)
{
    LinkDiff diff;
    const auto line = [&diff, &moduleText](const char* side, std::span<const LinkRecord> links, int32_t number) {
        diff.lines.push_back(std::string(side) + " " + std::to_string(number) + "  "
                             + fieldsText(links[static_cast<std::size_t>(number - 1)], moduleText));
    };
    for (const LinkComparisonRow& row : CompareLinks(here, device)) {
        if (row.status == LinkRowStatus::Same)
            continue;
        ++diff.differing;
        if (row.device != 0)
            line("-", device, row.device);
        if (row.here != 0)
            line("+", here, row.here);
    }
    return diff;
}

std::string LinkDiffLegend()
{
    std::string legend = "@@ Nr  ";
    for (const char* name : kLinkFieldNames)
        legend += std::string(legend.ends_with(' ') ? "" : ",") + name;
    return legend;
}
