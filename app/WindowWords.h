#pragma once

// Words of the main window that its code puts together with values: the
// status bar's names for the station's address and serial number and its
// word for a search that found no device, the file dialogs' filters and the
// link file name a first save proposes. Each comes
// from the main window's texts of the chosen language, with the German
// words where the language file lacks one.

#include "core/StatusTexts.h"

#include <QString>

#include <string>

StatusWords WindowStatusWords();

// "Konfig ini-Dateien (*.ini);;alle (*)" the Qt way: link files, then any file.
QString LinkFileFilters();

// The link file name, without folder or extension, that a save proposes
// before a file was loaded or saved ("QMXverk").
std::string DefaultLinkFileNameText();

// The free status panel's word while no search has found a device.
std::string NoDeviceFoundText();
