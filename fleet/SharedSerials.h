#pragma once

// Stations of one backup that answer with one serial number (a factory
// default, a copied configuration): the backup keeps them apart by port
// (BackupFolder), and says so once a run, so that someone can give each
// station a number of its own.

#include "diag/Notice.h"

#include <string>
#include <vector>

struct StationBackupResult;

// A warning for each serial number that more than one of `results` answered
// with, naming the ports as given and the number's folder below `dir`.
std::vector<Notice> SharedSerialNotices(const std::vector<StationBackupResult>& results, const std::string& dir);
