#pragma once

// backup --capture DIR: the traffic of each station in a capture of its own.
// A station's read writes it under a temporary name, because which
// station answers is known only once it has been read. When the station is
// reported, the capture takes the name of its backup: DIR/<serial number>/
// <time>.pcapng (DIR/<serial number>/<port>/ where stations share the
// number), beside the <time>.ini when DIR is the backup folder. A
// station that never said who it is, often the one whose traffic matters
// most, keeps its capture as DIR/<port>_<time>.pcapng.

#include "diag/Result.h"
#include "io/NewFile.h"

#include <cstdint>
#include <string>

// A port as part of a file name: "tcp://gw1:4001" -> "tcp___gw1_4001".
std::string PortFileName(const std::string& port);

// A station's capture as its read left it.
struct StationCapture {
    std::string path;   // its temporary file; empty: the read made none
    std::string lost;   // why frames are missing from its end; empty: it holds them all
    int64_t frames = 0; // the frames it holds
};

// Done, or FileNotWritten with `reason`.
struct CapturePlacing : Result {
    std::string path;   // where the capture is now; empty: the station's read made none
    std::string reason; // why it kept its temporary name
};

class StationCaptures {
public:
    // `dir` empty: no captures.
    explicit StationCaptures(std::string dir);

    bool wanted() const { return !m_dir.empty(); }

    // The file a station's read writes, under a temporary name nobody can
    // guess beforehand (io/NewFile.h): two backups capturing into one
    // folder never meet, and nobody can place a link where it will be.
    NewFile CreateTemporary() const;

    // Gives the capture in `temporary` its name. `stationFolder` is where the
    // station's backups are below the backup folder, empty while the station
    // is not known; `savedFile` is the link file its read was just saved in,
    // if any: the capture is then named after it.
    CapturePlacing place(const std::string& temporary, const std::string& port, const std::string& stationFolder,
                         const std::string& savedFile) const;

private:
    std::string m_dir;
};
