#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <netdb.h>

// The addresses of a server for a TCP connection, looked up within a time:
// a name server that does not answer costs that time, not its own. A
// numeric address needs no lookup. Where the time runs out, the lookup is
// left to finish on its own thread and its result is dropped.
struct NameLookup {
    // Every address the name has (freed with the lookup); null when it failed.
    std::shared_ptr<addrinfo> addresses;
    // Why there are none, in the system's words or "no address for HOST within MS ms".
    std::string error;
};

NameLookup LookUpWithin(const std::string& host, uint16_t port, int ms);
