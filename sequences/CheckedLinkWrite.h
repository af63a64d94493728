#pragma once

// The write a technician can trust: before the device's links are replaced
// it is checked to be the links' station and to have their modules, and what
// it held is kept as a snapshot; afterwards the links are read back and
// compared. Every step is one transfer over the same port.

#include "sequences/LinkWrite.h"
#include "model/LinkFile.h"
#include "model/StationIdentity.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class SequenceObserver;
class Tvep;
struct Station;

struct LinkWriteChecks {
    bool station = true;  // the device is the links' station and has their modules
    bool snapshot = true; // what the device held is saved before it is replaced
    bool verify = true;   // the links are read back and compared

    bool any() const { return station || snapshot || verify; }
};

// What the device on the line is, against where the links come from.
struct StationCheck {
    StationIdentity device;
    std::optional<StationIdentity> linksFrom;
    std::vector<int32_t> missingModules; // addresses the links use that the device does not have

    bool otherStation() const { return linksFrom && !linksFrom->sameStation(device); }
    bool needsConfirmation() const { return otherStation() || !missingModules.empty(); }
};

// Asked, with the port closed, when the device is not the links' station or
// lacks modules they use: true to write all the same.
using StationConfirmation = std::function<bool(const StationCheck&)>;

struct CheckedLinkWriteResult : LinkWriteResult {
    std::optional<StationCheck> station; // as found, when checked
    std::string snapshotFile;            // the snapshot taken; empty when none
    bool verified = false;               // read back and found as written
};

// Writes the link table with the checks asked for; without any it is the
// plain write of WriteLinksToDevice. The snapshot names the overview's
// modules when the overview is of this station. A snapshot that cannot be
// saved stops the write before anything is sent.
CheckedLinkWriteResult WriteLinksChecked(Tvep& vep, Station& station, SequenceObserver* view, const LinkWriteChecks& checks,
                                         const OverviewRows& overview, const StationConfirmation& confirm);

// Over the open port: reads the link area back and compares it with the link
// table slot by slot; says in `result` what the device holds.
void VerifyWrittenLinks(Tvep& vep, Station& station, CheckedLinkWriteResult& result);

// The question or refusal for a station check that needs confirmation.
Notice StationCheckNotice(const StationCheck& check);
