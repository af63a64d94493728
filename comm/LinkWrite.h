#pragma once

#include <cstdint>
#include <optional>
#include <string>

class ShellView;
class Tvep;

// A link the device cannot hold as it is.
struct LinkWriteObstacle {
    int32_t linkNumber = 0;
    std::string reason; // e.g. "ModulQ=130 (0..127)"
};

// The first link with a field outside the device form, if any.
std::optional<LinkWriteObstacle> FindLinkWriteObstacle();

// False, with the reason shown as a numbered message, while the data are
// incomplete (DataState above 0) or when the table does not fit the device.
bool LinkWriteAllowed();

enum class LinkWriteResult { Written, Refused, PortNotOpen, TransferFailed };

// Sends every link and the end slot to the device's link area in one
// transfer and reports the counts. Refused as LinkWriteAllowed says; then
// nothing is sent. `view`, when given, shows the transfer's progress.
LinkWriteResult WriteLinksToDevice(Tvep& vep, ShellView* view = nullptr);
