#pragma once

#include <span>
#include <string_view>

namespace text {

// A key of the language files and its built-in English text (UTF-8).
struct LanguageDefault {
    std::string_view section;
    std::string_view key;
    std::string_view english;
};

// Every interface key of the language files, grouped by section in the files' order. The level
// descriptions (section "levels_descriptions") are not among them: the level tables hold those.
std::span<const LanguageDefault> LanguageDefaults();

}  // namespace text
