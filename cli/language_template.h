#pragma once

#include <string>

namespace cli {

// A language file holding every key with its English text, in Windows-1252 with CR LF lines:
// the header, the interface's sections in the order the program reads them, then one
// description per level. The starting point of a translation.
std::string LanguageTemplate();

}  // namespace cli
