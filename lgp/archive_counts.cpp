#include "lgp/archive_counts.h"

#include "lgp/level_tables.h"

ArchiveCounts CountArchive(const TLGPFile& archive) {
    ArchiveCounts counts;
    for (const auto& subFile : archive.SubFiles) {
        if (!lgp::IsLevel(*subFile)) continue;
        ++counts.levels;
        for (const TLevelText& text : subFile->Texts) {
            ++counts.texts;
            if (!text.Windows.empty()) ++counts.windowedTexts;
            counts.windows += static_cast<std::int32_t>(text.Windows.size());
        }
    }
    return counts;
}
