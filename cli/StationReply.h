#pragma once

// What the child process of a backup tells its parent about its one station:
// the station read, with its links and its module overview, or why not. It
// travels as one line of JSON on the child's standard output. The program's
// texts (Windows-1252 bytes) travel as the code points U+0000..U+00FF of
// their bytes, so that every byte arrives as it left.

#include "model/LinkFile.h"
#include "model/LinkModel.h"
#include "model/StationIdentity.h"

#include <QByteArray>

#include <optional>
#include <string>
#include <vector>

struct StationNote {
    int kind = 0;     // the message box kind (mbWarning, mbError, mbInformation)
    std::string text; // Windows-1252
};

struct StationReply {
    bool ok = false;
    StationIdentity station;
    std::vector<LinkRecord> links; // link 1 first
    OverviewRows overview;         // the heading row first, as the link file keeps it
    std::string error;             // why the read failed, one message (Windows-1252)
    std::vector<StationNote> notes; // what the read had to say besides
};

// One line, ending in "\n".
QByteArray EncodeStationReply(const StationReply& reply);

// The reply in a child's standard output: its last line. None when that is
// no reply (the child died, or printed something else): every field is
// checked, a link field must be a whole 32-bit number, and at most
// kMaxLinks links are taken.
std::optional<StationReply> DecodeStationReply(const QByteArray& output);
