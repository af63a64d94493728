#pragma once

// How a person finds a module: by the number the link table gives it, with
// the address the overview shows and its name beside it. Every front end
// that names a module of a link for a person takes it from here, so that the
// window, the console and the reports count alike. Files keep the raw module
// address.

#include <cstdint>
#include <optional>
#include <string>

struct Station;

// The link table's module number: the module address counted from 1.
int64_t LinkTableModuleNumber(int32_t address);

// The address the overview shows for a module address: the device's bus
// address plus the module's; the last slot is listed under the device's own.
int32_t OverviewAddress(const Station& station, int32_t address);

struct ModuleNaming {
    int64_t number = 0;             // as the link table counts
    std::optional<int32_t> address; // as the overview shows it; none for a module the station lacks
    std::string name;               // Windows-1252, without the blanks that pad it; empty when none
};

// A link's module address as a person finds it on this station. An address
// of a module the station does not have (not present, or beyond the module
// table) keeps only its number: there is no row of the overview to point to.
ModuleNaming NameModule(const Station& station, int32_t address);
