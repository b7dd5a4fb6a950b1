#pragma once

#include <string>
#include <string_view>

#include <QString>

#include "text/windows1252.h"

// The core's two kinds of string and the QString of the interface, converted here alone.
namespace jobs {

// The core's UTF-8: file names (platform/utf8_path.h), the reasons of its errors, the program's
// own names. Ill-formed UTF-8 shows as U+FFFD.
QString fromUtf8(std::string_view utf8);
// A QString as the core's UTF-8, for a file name or a message the core writes out.
std::string toUtf8(const QString& text);

// Game text in Windows-1252: a tagged text, a level's name or description, a dictionary word.
// Every byte has its character, so nothing is lost.
QString fromWindows1252(std::string_view windows1252);
// The reverse: a character outside Windows-1252 becomes text::kReplacementChar and is counted,
// so that the caller can refuse or warn.
text::Windows1252Text toWindows1252(const QString& text);

}  // namespace jobs
