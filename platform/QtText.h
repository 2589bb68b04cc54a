#pragma once
#include <QString>

#include <string>

namespace plat {

// The program's texts are bytes in the code page of its overlays, one byte a
// character; on screen each byte is the Latin-1 character of its value, so
// every byte, 0x80 and above too, shows the same in every widget, box and
// title and comes back as the same byte. A character of the screen that has
// no byte of its own comes back as '?'.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

// File paths are no texts: they keep the file system's encoding.
QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);

} // namespace plat
