#pragma once

// Every text of the system is a single-byte Windows-1252 string; widgets speak
// Unicode. These two functions are the only crossing between the two.

#include <QString>

#include <string>
#include <string_view>

QString ansiToQString(std::string_view ansi);
// Characters without a Windows-1252 byte become "?".
std::string qStringToAnsi(const QString& text);
// A file name, bytes of the file system, for a message: bytes that are no
// character in the system's encoding are shown as replacement characters.
std::string fileNameToAnsi(const std::string& path);
