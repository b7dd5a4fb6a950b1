#include "lgp/archive_compare.h"

#include <cstddef>

#include "lgp/level_tables.h"

namespace {

bool SameCounts(const ArchiveCounts& a, const ArchiveCounts& b) {
    return a.levels == b.levels && a.texts == b.texts && a.windowedTexts == b.windowedTexts &&
           a.windows == b.windows;
}

bool SameShape(const TLGPFile& current, const TLGPFile& reference) {
    if (current.SubFiles.size() != reference.SubFiles.size()) return false;
    for (std::size_t i = 0; i < current.SubFiles.size(); ++i) {
        const TLGPSubFile& a = *current.SubFiles[i];
        const TLGPSubFile& b = *reference.SubFiles[i];
        const bool level = lgp::IsLevel(a);
        if (level != lgp::IsLevel(b)) return false;
        if (!level) continue;
        if (a.Texts.size() != b.Texts.size()) return false;
        for (std::size_t t = 0; t < a.Texts.size(); ++t) {
            if (a.Texts[t].Windows.size() != b.Texts[t].Windows.size()) return false;
        }
    }
    return true;
}

bool SameWindow(const TWindow& a, const TWindow& b) {
    return a.X == b.X && a.Y == b.Y && a.Width == b.Width && a.Height == b.Height;
}

}  // namespace

ArchiveComparison CompareArchives(TLGPFile& current, const TLGPFile& reference) {
    ArchiveComparison result;
    result.current = CountArchive(current);
    result.reference = CountArchive(reference);
    if (!SameCounts(result.current, result.reference) || !SameShape(current, reference)) {
        return result;
    }
    result.differentTexts = 0;
    result.differentWindowedTexts = 0;
    result.differentWindows = 0;
    for (std::size_t i = 0; i < current.SubFiles.size(); ++i) {
        TLGPSubFile& level = *current.SubFiles[i];
        if (!lgp::IsLevel(level)) continue;
        const TLGPSubFile& other = *reference.SubFiles[i];
        for (std::size_t t = 0; t < level.Texts.size(); ++t) {
            const TLevelText& text = level.Texts[t];
            const TLevelText& otherText = other.Texts[t];
            const bool bytesDiffer = text.Bytes != otherText.Bytes;
            if (bytesDiffer) {
                level.CompareMarks.at(t) = 1;
                ++result.differentTexts;
                if (!text.Windows.empty()) ++result.differentWindowedTexts;
            }
            for (std::size_t k = 0; k < text.Windows.size(); ++k) {
                if (SameWindow(*text.Windows[k], *otherText.Windows[k])) continue;
                level.CompareMarks.at(t) = 1;
                ++result.differentWindows;
            }
        }
    }
    return result;
}
