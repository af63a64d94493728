#pragma once

// "Datei -> Bericht speichern..." and "Datei -> Bericht drucken...": the
// service report of what the window holds, as a PDF file or on paper, laid
// out once for both.

#include "report/ServiceReport.h"

#include <functional>

class QMenu;
class QPrinter;
class StationClient;

// Adds both entries to `menu`; `station` gives the window's station client
// when an entry is chosen.
void AddReportEntries(QMenu& menu, std::function<const StationClient&()> station);

// What the window's report tells beyond the model: the port the station was
// read over, the link file, what is known of the device's links and the last write.
ServiceReportFacts WindowReportFacts(const StationClient& station);

// The one place the print dialog is shown: true when the user chose to
// print on `printer` as set up. The program shows Qt's print dialog; tests
// install their own.
using PrinterChooser = std::function<bool(QPrinter& printer)>;
// Installs the chooser and returns the previous one.
PrinterChooser SetPrinterChooser(PrinterChooser chooser);
