#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lgp/lgp_file.h"

namespace lgp {

// How a search runs: from the first text on, backwards from the selection, or forwards after it.
enum class FindMode { FromStart = 0, Previous = 1, Next = 2 };

// The tagged texts of an archive's levels, decoded once and kept between searches. It holds
// copies, so that a search on another thread never reads the archive while the user edits it.
class SearchTexts {
public:
    // Makes the copies equal to the archive's current texts: a text whose bytes differ from
    // its copy is copied again and decoded again when next searched. Reads the archive only;
    // call it where no text can change meanwhile.
    void Update(const TLGPFile& archive);

    int SubFileCount() const { return static_cast<int>(subFiles_.size()); }
    // False for a sub-file that is not a level, and for an index out of range.
    bool IsLevel(int subFile) const;
    // Texts of a level; 0 for an index out of range.
    std::size_t TextCount(int subFile) const;
    // The tagged text (DecodeText of the copied bytes), or its LowerLocale form when folded.
    // The index must be in range.
    const std::string& Text(int subFile, std::size_t text, bool folded);
    // Decodes and folds every text not yet decoded, as the searches to come would.
    void DecodeAll();

private:
    struct Entry {
        std::vector<std::uint8_t> bytes;
        std::string tagged;
        std::string folded;
        bool decoded = false;
        bool foldedReady = false;
    };
    struct SubFileTexts {
        bool level = false;
        std::vector<Entry> texts;
    };

    std::vector<SubFileTexts> subFiles_;
};

// Where a search begins: a row of the row order, a text of that row's sub-file, and a byte
// position in that text's tagged text. A forward search looks at the start text from the
// position on; a backward one only at the characters before it.
struct SearchStart {
    int row = 0;
    int text = 0;
    std::size_t position = 0;

    bool operator==(const SearchStart&) const = default;
};

// The start of a search in `mode` from the selected row and text and the selection's tagged
// positions: FromStart at row 0, text 0, position 0 whatever is selected; Next after the
// selection; Previous before it.
SearchStart StartOfSearch(FindMode mode, int row, int text, std::size_t selectionStart,
                          std::size_t selectionEnd);

// An occurrence: its row in the row order, the sub-file of that row, the text, and the byte
// position in the tagged text.
struct TextHit {
    int row = 0;
    int subFile = 0;
    int text = 0;
    std::size_t position = 0;

    bool operator==(const TextHit&) const = default;
};

// Called with the share of rows passed, 0 to 100.
using SearchProgress = std::function<void(int percent)>;

// Finds `search` in the texts of the levels that `rows` lists (table indices in the order the
// user sees them; rows that are not levels are passed over). Previous looks backwards for the
// last occurrence that ends at or before the start; the other modes forwards for the first one
// at or after it; neither wraps around. Compares exactly, or through LowerLocale when
// matchCase is false. Nothing is found for an empty search or a start row outside the order.
// Reports progress once per row visited; a range of one row reports 100.
std::optional<TextHit> FindText(SearchTexts& texts, std::span<const int> rows, FindMode mode,
                                SearchStart start, std::string_view search, bool matchCase,
                                const SearchProgress& progress = {});

// Every occurrence in the texts of all levels in table order, as repeated forward searches
// find them: each after the end of the one before, so none overlap.
std::vector<TextHit> FindAll(SearchTexts& texts, std::string_view search, bool matchCase);

// Tells whether a text (by table index and text index) is one that a walk looks for.
using TextWanted = std::function<bool(int subFile, int text)>;

// The first text that `wanted` accepts after text `text` of row `row`, or the last one before
// it when backward, in the row order, passing over rows that are not levels; nothing when there
// is none. A row below 0 stands before the first row forwards and after the last one
// backwards. Rows name table indices of `archive`.
std::optional<TextHit> FindTextWhere(const TLGPFile& archive, std::span<const int> rows, int row,
                                     int text, bool backward, const TextWanted& wanted);

// FindTextWhere for the texts marked by a comparison (CompareMarks).
std::optional<TextHit> FindMarkedText(const TLGPFile& archive, std::span<const int> rows, int row,
                                      int text, bool backward);

}  // namespace lgp
