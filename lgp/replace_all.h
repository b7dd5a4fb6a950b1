#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lgp/lgp_file.h"

namespace lgp {

// A text that a replacement changes, its new bytes (terminator included), and the number of
// occurrences replaced in it.
struct TextReplacement {
    int subFile = 0;
    int text = 0;
    std::vector<std::uint8_t> bytes;
    int occurrences = 0;
};

// Raised when a replacement is refused; nothing has been changed. The message names the level
// and the text (numbered from 1, as the texts list shows them).
class ReplaceRefused : public std::runtime_error {
public:
    explicit ReplaceRefused(const std::string& what) : std::runtime_error(what) {}
};

// Called after each sub-file, in table order, with its index.
using ReplaceProgress = std::function<void(int subFile)>;

// Works out the replacement of every occurrence of `search` (tagged text) in the texts of all
// levels, in table order, without changing the archive. A text takes part when search occurs
// in its tagged text, compared exactly or, when matchCase is false, with A to Z folded alone;
// its occurrences are then replaced (compared through LowerLocale when matchCase is false) and
// it is encoded with its terminator. A text that reads the same afterwards keeps its bytes and
// is left out. Throws ReplaceRefused when a changed text, encoded, would not read back as the
// replaced tagged text (a character without a game code, a line break cut in half, a "%"
// before digits that name no placeholder), when a text of a damaged level (one with a Damage)
// would change, or when a level's texts would need a text section larger than
// kMaxTextSectionSize.
std::vector<TextReplacement> PlanReplaceAll(const TLGPFile& archive, std::string_view search,
                                            std::string_view replacement, bool matchCase,
                                            const ReplaceProgress& progress = {});

// Stores planned texts in the archive they were planned for. Throws std::out_of_range for a
// sub-file or text the archive lacks, before storing anything.
void ApplyReplacements(TLGPFile& archive, std::span<const TextReplacement> replacements);

// PlanReplaceAll, then ApplyReplacements; returns the number of texts changed. Throws
// ReplaceRefused, leaving the archive unchanged.
int ReplaceAll(TLGPFile& archive, std::string_view search, std::string_view replacement,
               bool matchCase);

}  // namespace lgp
