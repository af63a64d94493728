#pragma once

#include <memory>

class ShellView;
class Tvep;

// Probes COM1..COM16 for a central device that answers the configuration
// read with a known type, and keeps the port of the last one found (COM1 when
// none answers). Creates the protocol client anew; refreshes the status bar.
void SearchComPort(std::unique_ptr<Tvep>& client, ShellView& view);
