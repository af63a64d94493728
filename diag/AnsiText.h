#pragma once

// Every text of the system is a single-byte Windows-1252 string; widgets speak
// Unicode. These two functions are the only crossing between the two.

#include <QString>

#include <string>
#include <string_view>

QString ansiToQString(std::string_view ansi);
// Characters without a Windows-1252 byte become "?".
std::string qStringToAnsi(const QString& text);
