#pragma once

// The link file: a set of links kept as an INI file of Windows-1252 text with
// CR LF line ends, so that field engineers can keep, compare and reload the
// links of a device. Sections: "Kopfdaten" (a comment header), "Info_Modulliste"
// (a copy of the module overview, for people only) and "QMX_Verknuepfungen"
// (the links). "Kopfdaten" names the station the links came from, when that
// is known ("Seriennummer", "QMX-Adresse", "Geraetetyp"). Link n has the keys n*10 (its four
// device words, for people) and n*10+1 .. n*10+8 (ModulQ, RegVon, BitVon,
// AnzBit, ModulZ, RegZ, BitZ, deaktiv).

#include "diag/MessageNumbers.h"
#include "diag/Notice.h"
#include "diag/Result.h"
#include "model/LinkModel.h"
#include "model/StationIdentity.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The module overview as the main window shows it, row 0 being the headings.
using OverviewRows = std::vector<std::vector<std::string>>;

inline constexpr char kDefaultLinkFileName[] = "QMXverk";

// The file actually read or written for a chosen name: a plain extension of
// letters (".cfg", ".txt", ".INI") is replaced by ".ini"; any other name gets
// ".ini" appended ("Anlage 3.1" becomes "Anlage 3.1.ini"). Names are bytes of
// the file system and stay so.
std::string LinkFilePath(const std::string& name);

// The existing file a save for `name` would replace although the name given
// was another one ("anlage.cfg" replacing "anlage.ini"); empty when there is none.
std::string OtherFileReplaced(const std::string& name);

// Done, or FileNotWritten with `reason`.
struct LinkFileSave : Result {
    std::string reason; // why not, for the user
};

// Writes `links`, the station they came from and the overview into the file
// for `name`. An existing file keeps every other section and key, and its
// comments, byte for byte; its "Kopfdaten" keys get the new header in place
// (a station it named is dropped when `origin` is unknown), and the overview
// and the links are written anew at its end. The file is replaced in one step,
// so a failure leaves it as it was.
LinkFileSave SaveLinkFile(const std::string& name, std::span<const LinkRecord> links,
                          const std::optional<StationIdentity>& origin, const OverviewRows& overview);

// The bytes of a new link file with `links`, the station they came from and
// the overview, as SaveLinkFile writes them where there is no file yet.
std::string NewLinkFileBytes(std::span<const LinkRecord> links, const std::optional<StationIdentity>& origin,
                             const OverviewRows& overview);

// Done with the links, or FileUnreadable with `reason`. The notices name the
// file: why it was refused (an error), or which of its links were not loaded
// (a warning).
struct LinkFileLoad : Result {
    std::string reason;            // why not, in a few English words
    std::vector<LinkRecord> links; // link 1 first, each with its encodedText
    std::optional<StationIdentity> origin; // none for a file that names no station
    OverviewRows overview;         // the overview the file keeps for people; row 0 its headings
    bool linksLeftOut = false;     // the file numbers more links than the table holds
    int32_t firstLinkBehindGap = 0; // the list ended before this link of the file; 0: none
};

// The links of the file for `name`: link 1, 2, ... up to the first whose
// AnzBit is missing or negative, and at most as many as the table holds.
// Numbers may be decimal or hexadecimal (0x or $); a key that is absent reads
// as 0. A file that is not text, one without a link section, and a link with
// a value that is no 32-bit integer are refused: half a set of links, or a
// value made up, would go to the device as if the file said so. The values
// are taken as they stand: they are checked where they are used. The link
// table is not touched.
LinkFileLoad LoadLinkFile(const std::string& name);
