#pragma once

// One central device as Kalmoria knows it: who it is, the line it is reached
// on, its modules and signal groups, its link table and what is known about
// those links, and the transfer buffers of the client that talks to it. Every
// sequence, editor rule and flow works on the Station it is given, so that
// two stations can be worked on side by side, in one window's undo steps or
// in the threads of a fleet's backup.

#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/PortSettings.h"
#include "model/SignalGroups.h"
#include "model/StationIdentity.h"
#include "model/TransferBuffers.h"
#include "model/UnsavedLinks.h"

#include <cstdint>
#include <optional>
#include <string>

struct Station : ModuleModel, LinkTableModel, SignalGroupSet, PortSettings, TransferBuffers {
    uint16_t DeviceType = 0;   // register 1506; 0x0900 is a QMX-620
    uint16_t SerialNumber = 0; // register 1508
    int32_t DeviceAddress = 0; // register 1516; module addresses are shown relative to it

    // Whose links the link table holds: the station read last, or the one a
    // link file names; none when that is not known (an older file, links
    // made anew).
    std::optional<StationIdentity> LinkTableOrigin;
    // Whose modules the module overview shows: the station read last.
    std::optional<StationIdentity> OverviewOrigin;

    // The link file last chosen, bytes of the file system.
    std::string LinkFileName;
    // The links as last kept (see UnsavedLinks.h) and how many keepings were
    // numbered so far; the table starts empty, and so kept.
    KeptLinks Kept;
    uint64_t KeepingsGiven = 0;

    // Empties the modules, their display list and the link count; the link
    // slots stay, as a read fills them anew.
    void ResetModel();
    // The station as the device's configuration names it.
    StationIdentity Identity() const { return {SerialNumber, DeviceAddress, DeviceType}; }
};
