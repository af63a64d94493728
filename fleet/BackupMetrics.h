#pragma once

// The backup's metrics for the node exporter's textfile collector: one
// series per station and metric in the Prometheus text format, each station
// labelled by its port as given ("station") and its serial number
// ("serial"). An alert on a backup that has grown too old needs the time of
// a station's last success to outlive the runs in which it fails, so that
// time is carried over from the previous file.

#include "diag/Result.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StationMetrics {
    std::string station; // the port as given, as UTF-8 text (see fileNameShown)
    std::string serial;  // empty when not known: the series then has no serial label
    bool success = false;
    std::optional<long long> lastSuccess; // seconds since 1970
    std::optional<double> durationSeconds; // none: its read never started
    std::optional<int> links;
    std::optional<bool> linksChanged; // none: not read
};

struct KeptSuccess {
    std::string serial;
    long long lastSuccess = 0;
};

// The metrics file's text.
std::string MetricsText(const std::vector<StationMetrics>& stations);

// The last success of each station in an earlier metrics file's text, by
// its station label; lines that are not such a series are passed over.
std::map<std::string, KeptSuccess> LastSuccesses(std::string_view metricsText);

struct StationBackupResult;

// Replaces the metrics file at `path` with every station's result, in the
// order given. A station that failed keeps the time of its last success from
// the file it replaces. FileNotWritten, with the notice that says why, when
// the file cannot be written.
Result WriteBackupMetrics(const std::string& path, const std::vector<StationBackupResult>& results);
