#include "fleet/BackupMetrics.h"

#include "fleet/StationBackup.h"
#include "diag/AnsiText.h"
#include "io/FileBytes.h"
#include "sequences/DeviceNotices.h"

#include <charconv>
#include <cstdio>
#include <functional>

namespace {

// An earlier metrics file larger than this is none of ours.
constexpr std::size_t kMaxMetricsBytes = 16 * 1024 * 1024;

constexpr std::string_view kLastSuccess = "kalmoria_backup_last_success_timestamp_seconds";

struct Family {
    const char* name;
    const char* help;
    // The station's value as the text format writes it; none: no series.
    std::function<std::optional<std::string>(const StationMetrics&)> value;
};

std::optional<std::string> flag(std::optional<bool> value)
{
    return value ? std::optional<std::string>(*value ? "1" : "0") : std::nullopt;
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// A label value: backslash, double quote and line feed escaped.
std::string escaped(std::string_view value)
{
    std::string text;
    for (const char c : value) {
        if (c == '\\' || c == '"')
            text += '\\';
        text += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return text;
}

const std::vector<Family>& families()
{
    static const std::vector<Family> list{
        {"kalmoria_backup_success", "Whether the station's links were read and saved by the last backup (1) or not (0).",
         [](const StationMetrics& s) { return flag(s.success); }},
        {kLastSuccess.data(), "When the station's links were last read and saved, in seconds since 1970.",
         [](const StationMetrics& s) {
             return s.lastSuccess ? std::optional<std::string>(std::to_string(*s.lastSuccess)) : std::nullopt;
         }},
        {"kalmoria_backup_duration_seconds", "How long the station's read took in the last backup.",
         [](const StationMetrics& s) {
             return s.durationSeconds ? std::optional<std::string>(seconds(*s.durationSeconds)) : std::nullopt;
         }},
        {"kalmoria_station_links", "How many links the station holds.",
         [](const StationMetrics& s) {
             return s.links ? std::optional<std::string>(std::to_string(*s.links)) : std::nullopt;
         }},
        {"kalmoria_station_links_changed",
         "Whether the station's links differ from its previous backup (1) or not (0); 0 for a first backup.",
         [](const StationMetrics& s) { return flag(s.linksChanged); }},
    };
    return list;
}

// The labels of a series, from behind its "{" to its "}": false when they
// are not name="value" pairs.
bool readLabels(std::string_view& text, std::map<std::string, std::string>& labels)
{
    while (!text.empty() && text.front() != '}') {
        const std::size_t open = text.find("=\"");
        if (open == std::string_view::npos)
            return false;
        const std::string name(text.substr(0, open));
        std::string value;
        std::size_t i = open + 2;
        for (; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] == '\\' && i + 1 < text.size())
                value += text[++i] == 'n' ? '\n' : text[i];
            else
                value += text[i];
        }
        if (i >= text.size())
            return false;
        labels[name] = value;
        text.remove_prefix(i + 1);
        if (text.starts_with(","))
            text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    text.remove_prefix(1);
    return true;
}

// A station never read has no serial number to show: its series carries the
// port alone, rather than an empty label that an alert would print as
// "(serial )". Prometheus takes an empty label for none, so the series stays
// the same one.
std::string serialLabel(const std::string& serial)
{
    return serial.empty() ? std::string() : ",serial=\"" + escaped(serial) + "\"";
}

} // namespace

std::string MetricsText(const std::vector<StationMetrics>& stations)
{
    std::string text;
    for (const Family& family : families()) {
        text += std::string("# HELP ") + family.name + " " + family.help + "\n";
        text += std::string("# TYPE ") + family.name + " gauge\n";
        for (const StationMetrics& station : stations) {
            if (const std::optional<std::string> value = family.value(station))
                text += std::string(family.name) + "{station=\"" + escaped(station.station) + "\""
                        + serialLabel(station.serial) + "} " + *value + "\n";
        }
    }
    return text;
}

std::map<std::string, KeptSuccess> LastSuccesses(std::string_view metricsText)
{
    std::map<std::string, KeptSuccess> kept;
    std::size_t start = 0;
    while (start < metricsText.size()) {
        const std::size_t end = std::min(metricsText.find('\n', start), metricsText.size());
        std::string_view line = metricsText.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(kLastSuccess) || !line.substr(kLastSuccess.size()).starts_with("{"))
            continue;
        line.remove_prefix(kLastSuccess.size() + 1);
        std::map<std::string, std::string> labels;
        if (!readLabels(line, labels) || !labels.contains("station") || !line.starts_with(" "))
            continue;
        line.remove_prefix(1);
        long long seconds = 0;
        const auto [next, error] = std::from_chars(line.data(), line.data() + line.size(), seconds);
        if (error == std::errc() && next == line.data() + line.size())
            kept[labels["station"]] = {labels["serial"], seconds};
    }
    return kept;
}

namespace {

StationMetrics metricsOf(const StationBackupResult& result, const std::map<std::string, KeptSuccess>& kept)
{
    StationMetrics metrics;
    // A label is UTF-8: a port named with other bytes keeps them as escapes,
    // so that two such ports never share a series.
    metrics.station = fileNameShown(result.port).toStdString();
    if (const auto earlier = kept.find(metrics.station); earlier != kept.end()) {
        metrics.serial = earlier->second.serial;
        metrics.lastSuccess = earlier->second.lastSuccess;
    }
    metrics.durationSeconds = result.seconds;
    if (result.station)
        metrics.serial = std::to_string(result.station->serialNumber);
    if (!result.ok())
        return metrics;
    metrics.success = true;
    metrics.lastSuccess = result.finishedAt;
    metrics.links = result.links;
    metrics.linksChanged = result.drift.changed.value_or(false);
    return metrics;
}

} // namespace

Result WriteBackupMetrics(const std::string& path, const std::vector<StationBackupResult>& results)
{
    const FileBytes earlier = ReadWholeFile(path, kMaxMetricsBytes);
    const std::map<std::string, KeptSuccess> kept =
        LastSuccesses(earlier.status == FileBytes::Status::Read ? earlier.bytes : std::string());
    std::vector<StationMetrics> metrics;
    for (const StationBackupResult& result : results)
        metrics.push_back(metricsOf(result, kept));
    Result written;
    if (std::string reason; !ReplaceFileAtomically(path, MetricsText(metrics), &reason)) {
        written.outcome = Outcome::FileNotWritten;
        written.notices.push_back(
            DeviceNotice(kMessageMetricsNotWritten, Notice::Severity::Error, {fileNameToAnsi(path), reason}));
    }
    return written;
}
