// The station list of `kalmoria-cli backup --stations`: a file an operator
// wrote, or a configuration tool rolled out. It is read as a list of ports
// each --port takes, or refused at one line; a UTF-8 mark in front changes
// nothing, and the ports read, written one a line, read back the same.

#include "tests/fuzz/FuzzSupport.h"

#include "diag/ArgumentBytes.h"
#include "core/StationPort.h"
#include "fleet/PortIdentity.h"
#include "fleet/StationList.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const StationListLoad load = ParseStationList(bytes);
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;

    if (!bytes.starts_with("\xEF\xBB\xBF")) {
        const StationListLoad marked = ParseStationList("\xEF\xBB\xBF" + bytes);
        FUZZ_CHECK(marked.outcome == load.outcome && marked.ports == load.ports && marked.line == load.line,
                   "the UTF-8 mark changed the list");
    }
    if (load.outcome != StationListLoad::Outcome::Read) {
        FUZZ_CHECK(load.outcome == StationListLoad::Outcome::NoPort, "a list in memory was unreadable");
        FUZZ_CHECK(load.ports.isEmpty() && !load.text.empty(), "refused without the line: " + Printable(load.text));
        FUZZ_CHECK(load.line >= 1 && static_cast<std::size_t>(load.line) <= lines,
                   "refused at line " + std::to_string(load.line));
        return 0;
    }
    FUZZ_CHECK(static_cast<std::size_t>(load.ports.size()) <= lines, "more ports than lines");
    std::string again = "\n"; // a port that starts with the mark's bytes stays one
    const ComPortTable comPorts{"/dev/ttyS0", "tcp://10.0.0.7:4001"};
    for (const QString& port : load.ports) {
        FUZZ_CHECK(ParsePortText(port).has_value(), "a port --port does not take: " + Printable(ArgumentBytes(port)));
        FUZZ_CHECK(!PortIdentity(port, comPorts).empty(), "a port without identity");
        again += ArgumentBytes(port) + "\n";
    }
    const StationListLoad reread = ParseStationList(again);
    FUZZ_CHECK(reread.outcome == StationListLoad::Outcome::Read && reread.ports == load.ports,
               "the ports read back otherwise: " + Printable(again));
    return 0;
}
