#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QString>

namespace teravo {

// The decimal separator of the user's locale. The number texts work with one ASCII
// character; a locale whose separator is not ASCII falls back to the comma.
char LocaleDecimalSeparator();

// The program's own texts, in its sources and from the layers below, are UTF-8.
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A null pointer gives an empty string.
inline QString ToQString(const char* text) {
  return QString::fromUtf8(text);
}

// A file name as the file system takes it: in the encoding the locale gives file names.
std::filesystem::path ToFsPath(const QString& path);

}  // namespace teravo
