#pragma once

// The last write of links since the program started, as a service report
// tells it: when, how many links, whether they were read back as written,
// and the snapshot of what the device held before. Kept by the station
// client for every write that sent anything.

#include "sequences/CheckedLinkWrite.h"

#include <QDateTime>

#include <cstdint>
#include <string>

struct LastLinkWrite {
    QDateTime when;
    int32_t links = 0;
    int32_t active = 0;
    int32_t inactive = 0;
    bool answered = false;  // every transfer of the write was answered
    bool readBack = false;  // the checks asked for the links to be read back
    bool verified = false;  // read back and found as written
    std::string snapshotFile; // empty when none was kept
};

LastLinkWrite RecordLinkWrite(const CheckedLinkWriteResult& result, const LinkWriteChecks& checks);
