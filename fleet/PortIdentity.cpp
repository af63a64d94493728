#include "fleet/PortIdentity.h"

#include "core/StationPort.h"
#include "transports/PortAddress.h"

#include <arpa/inet.h>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace {

// The numeric form of an IP address written another way ("::0001" is
// "::1"); a host name as it is, in lower case.
std::string hostKey(const std::string& host)
{
    unsigned char address[sizeof(in6_addr)];
    char text[INET6_ADDRSTRLEN];
    for (const int family : {AF_INET, AF_INET6}) {
        if (::inet_pton(family, host.c_str(), address) == 1 && ::inet_ntop(family, address, text, sizeof text))
            return text;
    }
    std::string lower = host;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A device file by the device it opens (a link or a second node of it gives
// the same), another file by its real path, a missing one by its name.
std::string deviceFileKey(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode))
        return "char:" + std::to_string(status.st_rdev);
    char real[PATH_MAX];
    return std::string("file:") + (::realpath(path.c_str(), real) ? real : path.c_str());
}

std::string pathKey(const std::string& path)
{
    const PortAddress address = ParsePortAddress(path);
    if (address.network())
        return "net:" + hostKey(address.host) + ":" + std::to_string(address.port);
    return deviceFileKey(path);
}

} // namespace

std::string PortIdentity(const QString& port, const ComPortTable& comPorts)
{
    const PortText parsed = ParsePortText(port).value_or(PortText{});
    if (parsed.number == 0)
        return pathKey(parsed.path);
    // A COM number leads where the port table maps it; one without a path
    // cannot be opened, and is known by its number alone.
    const std::string& mapped = comPorts[static_cast<std::size_t>(parsed.number - 1)];
    return mapped.empty() ? "COM" + std::to_string(parsed.number) : pathKey(mapped);
}
