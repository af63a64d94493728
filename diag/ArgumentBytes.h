#pragma once

// Arguments are bytes, and a file name among them need not be UTF-8 (a
// Latin-1 name from an old stick). The command line is parsed as text in
// which every byte that is not UTF-8 stands as a code point of its own
// (U+DC80..U+DCFF), so that such a name reaches the file system byte for byte.

#include <QString>

#include <string>
#include <string_view>

QString ArgumentText(std::string_view bytes);
// The bytes ArgumentText made `text` from.
std::string ArgumentBytes(const QString& text);
