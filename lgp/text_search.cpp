#include "lgp/text_search.h"

#include <algorithm>
#include <numeric>

#include "lgp/level_tables.h"
#include "text/case_folding.h"
#include "text/text_decoder.h"

namespace lgp {

void SearchTexts::Update(const TLGPFile& archive) {
    subFiles_.resize(archive.SubFiles.size());
    for (std::size_t i = 0; i < subFiles_.size(); ++i) {
        const TLGPSubFile& subFile = *archive.SubFiles[i];
        SubFileTexts& copy = subFiles_[i];
        copy.level = lgp::IsLevel(subFile);
        copy.texts.resize(copy.level ? subFile.Texts.size() : 0);
        for (std::size_t t = 0; t < copy.texts.size(); ++t) {
            Entry& entry = copy.texts[t];
            if (entry.bytes == subFile.Texts[t].Bytes) continue;
            entry.bytes = subFile.Texts[t].Bytes;
            entry.decoded = false;
            entry.foldedReady = false;
        }
    }
}

bool SearchTexts::IsLevel(int subFile) const {
    return subFile >= 0 && subFile < SubFileCount() &&
           subFiles_[static_cast<std::size_t>(subFile)].level;
}

std::size_t SearchTexts::TextCount(int subFile) const {
    if (subFile < 0 || subFile >= SubFileCount()) return 0;
    return subFiles_[static_cast<std::size_t>(subFile)].texts.size();
}

const std::string& SearchTexts::Text(int subFile, std::size_t text, bool folded) {
    Entry& entry = subFiles_.at(static_cast<std::size_t>(subFile)).texts.at(text);
    if (!entry.decoded) {
        entry.tagged = text::DecodeText(entry.bytes);
        entry.decoded = true;
    }
    if (!folded) return entry.tagged;
    if (!entry.foldedReady) {
        entry.folded = text::LowerLocale(entry.tagged);
        entry.foldedReady = true;
    }
    return entry.folded;
}

void SearchTexts::DecodeAll() {
    for (int i = 0; i < SubFileCount(); ++i) {
        for (std::size_t t = 0; t < TextCount(i); ++t) Text(i, t, true);
    }
}

SearchStart StartOfSearch(FindMode mode, int row, int text, std::size_t selectionStart,
                          std::size_t selectionEnd) {
    switch (mode) {
        case FindMode::Next:
            return {row, text, selectionEnd};
        case FindMode::Previous:
            return {row, text, selectionStart};
        case FindMode::FromStart:
            break;
    }
    return {};
}

namespace {

// percent of `passed` out of `range`; a range of 0 (a single row) counts as done.
int Percent(int passed, int range) { return range == 0 ? 100 : passed * 100 / range; }

std::optional<TextHit> FindForward(SearchTexts& texts, std::span<const int> rows, SearchStart start,
                                   std::string_view needle, bool folded,
                                   const SearchProgress& progress) {
    const int last = static_cast<int>(rows.size()) - 1;
    for (int r = start.row; r <= last; ++r) {
        if (progress) progress(Percent(r - start.row, last - start.row));
        const int subFile = rows[static_cast<std::size_t>(r)];
        if (!texts.IsLevel(subFile)) continue;
        const std::size_t count = texts.TextCount(subFile);
        const bool startRow = r == start.row;
        for (std::size_t t = startRow ? static_cast<std::size_t>(std::max(start.text, 0)) : 0;
             t < count; ++t) {
            const std::string& text = texts.Text(subFile, t, folded);
            const std::size_t from =
                startRow && t == static_cast<std::size_t>(start.text) ? start.position : 0;
            if (from > text.size()) continue;
            const std::size_t at = text.find(needle, from);
            if (at != std::string::npos) return TextHit{r, subFile, static_cast<int>(t), at};
        }
    }
    return std::nullopt;
}

std::optional<TextHit> FindBackward(SearchTexts& texts, std::span<const int> rows,
                                    SearchStart start, std::string_view needle, bool folded,
                                    const SearchProgress& progress) {
    for (int r = start.row; r >= 0; --r) {
        if (progress) progress(Percent(start.row - r, start.row));
        const int subFile = rows[static_cast<std::size_t>(r)];
        if (!texts.IsLevel(subFile)) continue;
        const auto count = static_cast<int>(texts.TextCount(subFile));
        const bool startRow = r == start.row;
        for (int t = startRow ? std::min(start.text, count - 1) : count - 1; t >= 0; --t) {
            std::string_view text = texts.Text(subFile, static_cast<std::size_t>(t), folded);
            if (startRow && t == start.text) text = text.substr(0, start.position);
            const std::size_t last = text::LastPos(needle, text);
            if (last > 0) return TextHit{r, subFile, t, last - 1};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<TextHit> FindText(SearchTexts& texts, std::span<const int> rows, FindMode mode,
                                SearchStart start, std::string_view search, bool matchCase,
                                const SearchProgress& progress) {
    if (search.empty() || start.row < 0 || start.row >= static_cast<int>(rows.size())) {
        return std::nullopt;
    }
    const std::string folded = matchCase ? std::string() : text::LowerLocale(search);
    const std::string_view needle = matchCase ? search : std::string_view(folded);
    return mode == FindMode::Previous
               ? FindBackward(texts, rows, start, needle, !matchCase, progress)
               : FindForward(texts, rows, start, needle, !matchCase, progress);
}

std::vector<TextHit> FindAll(SearchTexts& texts, std::string_view search, bool matchCase) {
    std::vector<int> rows(static_cast<std::size_t>(texts.SubFileCount()));
    std::iota(rows.begin(), rows.end(), 0);
    std::vector<TextHit> hits;
    SearchStart start;
    while (const std::optional<TextHit> hit =
               FindText(texts, rows, FindMode::Next, start, search, matchCase)) {
        hits.push_back(*hit);
        start = {hit->row, hit->text, hit->position + search.size()};
    }
    return hits;
}

namespace {

// The sub-file of a row when it is a level, else null.
const TLGPSubFile* LevelOfRow(const TLGPFile& archive, std::span<const int> rows, int row) {
    const int index = rows[static_cast<std::size_t>(row)];
    if (index < 0 || static_cast<std::size_t>(index) >= archive.SubFiles.size()) return nullptr;
    const TLGPSubFile& subFile = *archive.SubFiles[static_cast<std::size_t>(index)];
    return lgp::IsLevel(subFile) ? &subFile : nullptr;
}

bool Marked(const TLGPSubFile& level, int text) {
    const auto t = static_cast<std::size_t>(text);
    return t < level.CompareMarks.size() && t < level.Texts.size() && level.CompareMarks[t] != 0;
}

}  // namespace

std::optional<TextHit> FindTextWhere(const TLGPFile& archive, std::span<const int> rows, int row,
                                     int text, bool backward, const TextWanted& wanted) {
    const int count = static_cast<int>(rows.size());
    if (!backward) {
        for (int r = std::max(row, 0); r < count; ++r) {
            const TLGPSubFile* level = LevelOfRow(archive, rows, r);
            if (level == nullptr) continue;
            const int subFile = rows[static_cast<std::size_t>(r)];
            const int texts = static_cast<int>(level->Texts.size());
            for (int t = r == row ? std::max(text + 1, 0) : 0; t < texts; ++t) {
                if (wanted(subFile, t)) return TextHit{r, subFile, t, 0};
            }
        }
        return std::nullopt;
    }
    for (int r = row < 0 ? count - 1 : std::min(row, count - 1); r >= 0; --r) {
        const TLGPSubFile* level = LevelOfRow(archive, rows, r);
        if (level == nullptr) continue;
        const int subFile = rows[static_cast<std::size_t>(r)];
        const int texts = static_cast<int>(level->Texts.size());
        for (int t = r == row ? std::min(text - 1, texts - 1) : texts - 1; t >= 0; --t) {
            if (wanted(subFile, t)) return TextHit{r, subFile, t, 0};
        }
    }
    return std::nullopt;
}

std::optional<TextHit> FindMarkedText(const TLGPFile& archive, std::span<const int> rows, int row,
                                      int text, bool backward) {
    return FindTextWhere(archive, rows, row, text, backward, [&archive](int subFile, int t) {
        return Marked(archive.SubFile(subFile), t);
    });
}

}  // namespace lgp
