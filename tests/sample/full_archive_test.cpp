#include "sample/sample_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "lgp/archive_counts.h"
#include "lgp/archive_loader.h"
#include "lgp/field_rebuilder.h"
#include "lgp/level_tables.h"
#include "tests/temporary_path.h"

namespace {

// The one test of the whole default archive: written to a file, loaded as the editor loads
// it, every level parsed and compared with what the generator put into it, then rebuilt.
TEST(FullArchiveTest, EveryLevelOfTheDefaultArchiveLoadsWithItsCounts) {
    const std::filesystem::path path = test_support::TemporaryPath("full_sample_archive.lgp");
    const sample::SampleArchive sample = sample::WriteSampleArchive(path.string());
    TLGPFile archive;
    lgp::LoadArchive(archive, path.string());

    ASSERT_EQ(sample.levels.size(), static_cast<std::size_t>(lgp::kLevelCount));
    EXPECT_GE(archive.Count, lgp::kLevelCount + 20);
    EXPECT_GT(sample.bytes.size(), 20'000'000u);
    EXPECT_LT(sample.bytes.size(), 100'000'000u);

    std::map<std::string, const TLGPSubFile*> byName;
    for (const auto& subFile : archive.SubFiles) byName[subFile->Name] = subFile.get();
    lgp::ArchiveCounts expected;
    int withoutTexts = 0;
    int mostTexts = 0;
    int tinyTextSections = 0;
    double decoded = 0;
    double stored = 0;
    for (const sample::SampleLevel& level : sample.levels) {
        const TLGPSubFile& subFile = *byName.at(level.name);
        ASSERT_EQ(static_cast<int>(subFile.Texts.size()), level.texts) << level.name;
        ASSERT_EQ(static_cast<int>(subFile.Entities.size()), level.entities) << level.name;
        ++expected.levels;
        expected.texts += level.texts;
        expected.windowedTexts += level.windowedTexts;
        expected.windows += level.windowLinks;
        withoutTexts += level.texts == 0;
        mostTexts = std::max(mostTexts, level.texts);
        tinyTextSections += level.layout == sample::TextLayout::TinyTextSection;
        decoded += static_cast<double>(level.decodedSize);
        stored += static_cast<double>(level.storedSize);
        EXPECT_GE(level.decodedSize, 20'000u) << level.name;
        EXPECT_LE(level.decodedSize, 500'000u) << level.name;
    }
    const lgp::ArchiveCounts counts = lgp::CountArchive(archive);
    EXPECT_EQ(counts.levels, expected.levels);
    EXPECT_EQ(counts.texts, expected.texts);
    EXPECT_EQ(counts.windowedTexts, expected.windowedTexts);
    EXPECT_EQ(counts.windows, expected.windows);
    EXPECT_GT(withoutTexts, 10);
    EXPECT_GE(mostTexts, 140);
    EXPECT_LE(mostTexts, 160);
    EXPECT_EQ(tinyTextSections, 1);
    EXPECT_GT(stored / decoded, 0.6);
    EXPECT_LT(stored / decoded, 0.75);

    // Unchanged, every level rebuilds to its stored field file byte for byte.
    for (const auto& subFile : archive.SubFiles) {
        if (!lgp::IsLevel(*subFile)) continue;
        ASSERT_EQ(lgp::RebuildFieldFile(archive, *subFile), archive.ReadSubFile(*subFile))
            << subFile->Name;
    }
    std::filesystem::remove(path);
}

}  // namespace
