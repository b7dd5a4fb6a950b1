#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lgp/lgp_file.h"

namespace cli {

// The windows and texts of the archive's levels as a JSON exchange file:
// {"levels": [{"name": ..., "windows": [{"x", "y", "width", "height"}, ...], "texts": [{"text":
// N, "tagged": ..., "windows": [i, ...]}, ...]}, ...]}, levels in table order (without those
// that could not be read), each level's windows in LevelWindows order, text numbers from 1,
// each text's windows as indices into its level's list, tagged texts in UTF-8.
std::string ExportJson(const TLGPFile& archive);

// A text's game bytes as PO files hold it: the tagged text in UTF-8, each line break CR LF
// written as a line feed alone.
std::string PoText(std::span<const std::uint8_t> bytes);

// The texts of the archive's levels as a UTF-8 PO file whose header names `title`: per text a
// comment with its number of windows, msgctxt "LEVEL:N" (N from 1), the tagged text as msgid
// (each line break CR LF written as a line feed alone) and an empty msgstr. Texts that decode
// to nothing or that hold a NUL character are left out, as a msgid may be neither, and listed
// in the file's first comment, as are the levels that could not be read.
std::string ExportPo(const TLGPFile& archive, std::string_view title);

}  // namespace cli
