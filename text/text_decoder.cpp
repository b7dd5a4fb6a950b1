#include "text/text_decoder.h"

#include <algorithm>

#include "text/character_table.h"
#include "text/tags.h"

namespace text {

// The byte after 0xFE alone tells the two-, four- and six-byte sequences apart, so one pass
// over the table in any order finds the same sequence.
const TagCode* MatchEscape(std::span<const std::uint8_t> rest) {
    for (const TagCode& entry : TagCodes) {
        const auto code = entry.Code();
        if (code.size() > 1 && code[0] == kEscapeCode && rest.size() >= code.size() &&
            std::equal(code.begin(), code.end(), rest.begin())) {
            return &entry;
        }
    }
    return nullptr;
}

std::string DecodeText(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty() && bytes.back() == kTerminatorCode) bytes = bytes.first(bytes.size() - 1);
    std::string tagged;
    tagged.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == kEscapeCode) {
            if (const TagCode* escape = MatchEscape(bytes.subspan(i))) {
                tagged += escape->tag;
                i += escape->size;
                continue;
            }
        }
        tagged += CharacterTable[bytes[i]];
        ++i;
    }
    return tagged;
}

}  // namespace text
