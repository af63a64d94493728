#pragma once

#include <string>
#include <vector>

// A process that has a device file open.
struct PortHolder {
    int pid = 0;
    std::string name; // the process's command name, as ps shows it
};

// The processes other than this one that have `path` open, found through the
// open files listed under /proc (`procRoot`); only the processes this user
// may look into are seen. A device file counts under every name it has. The
// far end of a pseudo-terminal (a simulated device) holds it by right and is
// left out.
std::vector<PortHolder> FindPortHolders(const std::string& path, const std::string& procRoot = "/proc");
