#pragma once

// Every text of the system is a single-byte Windows-1252 string; widgets speak
// Unicode. These functions are the only crossing between the two.

#include <QString>

#include <string>
#include <string_view>

QString ansiToQString(std::string_view ansi);
// Characters without a Windows-1252 byte become "?".
std::string qStringToAnsi(const QString& text);
// A file name, bytes of the file system, as a person reads it. The system
// speaks UTF-8, but a name need not be UTF-8 (a USB adapter's serial number
// in /dev/serial/by-id, a Latin-1 name from an old stick): each byte that is
// no part of a UTF-8 character is shown as "\xff", so that two names that
// differ only in such bytes never look alike, and neither looks like a name
// that holds U+FFFD.
QString fileNameShown(std::string_view path);
// The same for a message; characters without a Windows-1252 byte become "?".
std::string fileNameToAnsi(std::string_view path);
