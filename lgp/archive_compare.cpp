#include "lgp/archive_compare.h"

#include <cstddef>

#include "lgp/format_error.h"
#include "lgp/level_tables.h"

namespace lgp {

namespace {

bool SameCounts(const ArchiveCounts& a, const ArchiveCounts& b) {
    return a.levels == b.levels && a.texts == b.texts && a.windowedTexts == b.windowedTexts &&
           a.windows == b.windows;
}

// Whether the file at `index` of `archive` is a level that was read, and so far as `other`
// has a file there, was read there too.
bool Compared(const TLGPFile& archive, const TLGPFile& other, std::size_t index) {
    const TLGPSubFile& subFile = *archive.SubFiles[index];
    return lgp::IsLevel(subFile) && !subFile.Unreadable &&
           (index >= other.SubFiles.size() || !other.SubFiles[index]->Unreadable);
}

// The counts of the levels that are compared with `other`.
ArchiveCounts CountCompared(const TLGPFile& archive, const TLGPFile& other) {
    return CountArchive(archive, [&](std::size_t i) { return Compared(archive, other, i); });
}

bool SameShape(const TLGPFile& current, const TLGPFile& reference) {
    if (current.SubFiles.size() != reference.SubFiles.size()) return false;
    for (std::size_t i = 0; i < current.SubFiles.size(); ++i) {
        const TLGPSubFile& a = *current.SubFiles[i];
        const TLGPSubFile& b = *reference.SubFiles[i];
        const bool level = lgp::IsLevel(a);
        if (level != lgp::IsLevel(b)) return false;
        if (!level || !Compared(current, reference, i)) continue;
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

bool Comparable(const TLGPFile& current, const TLGPFile& reference) {
    return SameCounts(CountCompared(current, reference), CountCompared(reference, current)) &&
           SameShape(current, reference);
}

// Any window of the level's scripts, whether a text's list holds it or not: in the game a window
// that one script opens may serve the messages of another.
bool ScriptWindowsDiffer(const TLGPSubFile& level, const TLGPSubFile& other) {
    std::vector<const TWindow*> windows;
    for (const TEntity& entity : other.Entities) {
        for (const TScript& script : entity.Scripts) {
            for (const TWindow& window : script.Windows) windows.push_back(&window);
        }
    }
    std::size_t k = 0;
    for (const TEntity& entity : level.Entities) {
        for (const TScript& script : entity.Scripts) {
            for (const TWindow& window : script.Windows) {
                if (k == windows.size() || !SameWindow(window, *windows[k++])) return true;
            }
        }
    }
    return k != windows.size();
}

bool LevelDiffers(const TLGPSubFile& level, const TLGPSubFile& other) {
    for (std::size_t t = 0; t < level.Texts.size(); ++t) {
        const TLevelText& text = level.Texts[t];
        const TLevelText& otherText = other.Texts[t];
        if (text.Bytes != otherText.Bytes) return true;
        for (std::size_t k = 0; k < text.Windows.size(); ++k) {
            if (!SameWindow(*text.Windows[k], *otherText.Windows[k])) return true;
        }
    }
    return ScriptWindowsDiffer(level, other);
}

}  // namespace

ArchiveComparison CompareArchives(TLGPFile& current, const TLGPFile& reference) {
    ArchiveComparison result;
    result.current = CountCompared(current, reference);
    result.reference = CountCompared(reference, current);
    if (!SameCounts(result.current, result.reference) || !SameShape(current, reference)) {
        return result;
    }
    result.differentTexts = 0;
    result.differentWindowedTexts = 0;
    result.differentWindows = 0;
    for (std::size_t i = 0; i < current.SubFiles.size(); ++i) {
        TLGPSubFile& level = *current.SubFiles[i];
        if (!Compared(current, reference, i)) continue;
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

std::vector<int> DifferentLevels(const TLGPFile& current, const TLGPFile& reference) {
    if (!Comparable(current, reference)) {
        throw lgp::FormatError(current.FileName + " and " + reference.FileName +
                               " cannot be compared: they differ in their files, levels, texts "
                               "or windows");
    }
    std::vector<int> levels;
    for (std::size_t i = 0; i < current.SubFiles.size(); ++i) {
        const TLGPSubFile& level = *current.SubFiles[i];
        if (Compared(current, reference, i) && LevelDiffers(level, *reference.SubFiles[i])) {
            levels.push_back(static_cast<int>(i));
        }
    }
    return levels;
}

}  // namespace lgp
