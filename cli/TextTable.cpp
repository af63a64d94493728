#include "cli/TextTable.h"

#include <QString>

#include <algorithm>

namespace {

qsizetype characters(const std::string& utf8)
{
    return QString::fromUtf8(utf8).size();
}

} // namespace

std::string FormatTable(const std::vector<TextRow>& rows)
{
    std::vector<qsizetype> widths;
    for (const TextRow& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], characters(row[c]));
    }
    std::string text;
    for (const TextRow& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(static_cast<std::size_t>(widths[c] - characters(row[c]) + 2), ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}
