#include "lgp/archive_counts.h"

#include "lgp/level_tables.h"

namespace lgp {

ArchiveCounts CountArchive(const TLGPFile& archive) {
    return CountArchive(archive, [](std::size_t) { return true; });
}

ArchiveCounts CountArchive(const TLGPFile& archive,
                           const std::function<bool(std::size_t)>& counted) {
    ArchiveCounts counts;
    for (std::size_t i = 0; i < archive.SubFiles.size(); ++i) {
        const auto& subFile = archive.SubFiles[i];
        if (!lgp::IsLevel(*subFile) || !counted(i)) continue;
        ++counts.levels;
        for (const TLevelText& text : subFile->Texts) {
            ++counts.texts;
            if (!text.Windows.empty()) ++counts.windowedTexts;
            counts.windows += static_cast<std::int32_t>(text.Windows.size());
        }
    }
    return counts;
}

}  // namespace lgp
