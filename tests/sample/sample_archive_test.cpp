#include "sample/sample_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "lgp/level_tables.h"
#include "sample/lookup_table.h"
#include "tests/sample/sample_reading.h"

namespace {

using sample_test::Bytes;
using sample_test::kSmallLevels;
using sample_test::ReadTable;
using sample_test::SmallArchive;
using sample_test::U16;

constexpr std::size_t kLookupRegion = 3602;
const std::string kTerminator = "FINAL FANTASY7";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::size_t DataEnd(const TLGPSubFile& subFile) {
    return static_cast<std::size_t>(subFile.Offset) + TLGPFile::kDataHeaderSize + subFile.Length;
}

std::string HeaderName(const Bytes& archive, const TLGPSubFile& subFile) {
    const auto name = archive.begin() + subFile.Offset;
    return std::string(name, std::find(name, name + 20, '\0'));
}

TEST(SampleArchiveTest, TableOfContentsReadsBackWithEveryLevelAndTheOtherFiles) {
    const Bytes& bytes = SmallArchive(false).bytes;
    const TLGPFile archive = ReadTable(bytes);

    EXPECT_EQ(archive.Creator, "SQUARESOFT");
    EXPECT_EQ(SmallArchive(false).creator, archive.Creator);
    EXPECT_EQ(bytes[0], 0);  // shorter than 12 characters: right-aligned after zero bytes
    std::multiset<std::string> names;
    for (const auto& subFile : archive.SubFiles) names.insert(subFile->Name);
    for (int level = 0; level < kSmallLevels; ++level) {
        EXPECT_EQ(names.count(std::string(lgp::LevelNames()[level])), 1u) << level;
    }
    EXPECT_EQ(names.count(std::string(lgp::LevelNames()[kSmallLevels])), 0u);
    EXPECT_EQ(names.count("maplist"), 1u);
    EXPECT_EQ(names.count("flevel.siz"), 1u);

    int others = 0;
    int textures = 0;
    int tutorials = 0;
    int caseCopies = 0;
    for (const std::string& name : names) {
        if (lgp::IsLevel(name)) continue;
        ++others;
        textures += name.ends_with(".tex");
        tutorials += name.ends_with(".tut");
        caseCopies += lgp::IsLevel(Lower(name));
    }
    EXPECT_GE(others, 18);
    EXPECT_GE(textures, 3);
    EXPECT_GE(tutorials, 3);
    EXPECT_GE(caseCopies, 2);
    EXPECT_EQ(SmallArchive(false).levels.size(), static_cast<std::size_t>(kSmallLevels));
}

// The files listed by the description are those of the table, in its order, and name their
// levels.
TEST(SampleArchiveTest, FilesAreListedInTableOrder) {
    const sample::SampleArchive& sample = SmallArchive(false);
    const TLGPFile archive = ReadTable(sample.bytes);
    ASSERT_EQ(sample.files.size(), archive.SubFiles.size());
    for (std::size_t i = 0; i < sample.files.size(); ++i) {
        EXPECT_EQ(sample.files[i], archive.SubFiles[i]->Name);
        EXPECT_EQ(sample.TableIndex(sample.files[i]), static_cast<int>(i));
    }
    EXPECT_EQ(sample.TableIndex("MAPLIST"), -1);
    EXPECT_EQ(sample.TableIndex("none"), -1);
    const std::string first(lgp::LevelNames()[0]);
    EXPECT_EQ(&sample.Level(first), &sample.levels[0]);
    EXPECT_THROW(sample.Level("maplist"), std::out_of_range);
}

TEST(SampleArchiveTest, TwentyLevelsComeWithTwentyOtherFiles) {
    const sample::SampleArchive archive = sample::MakeSampleArchive({.levels = 20});
    const TLGPFile table = ReadTable(archive.bytes);
    EXPECT_EQ(table.Count, 20 + 20);
}

TEST(SampleArchiveTest, LookupSlotFollowsTheGameRule) {
    using sample::LookupSlot;
    EXPECT_EQ(LookupSlot("ancnt3"), 0 * 30 + 13 + 1);
    EXPECT_EQ(LookupSlot("ANCNT3"), LookupSlot("ancnt3"));
    EXPECT_EQ(LookupSlot("md1_1"), 12 * 30 + 3 + 1);
    EXPECT_EQ(LookupSlot("zz"), 25 * 30 + 25 + 1);
    EXPECT_EQ(LookupSlot("19"), 1 * 30 + 9 + 1);    // digits read as the letters a-j
    EXPECT_EQ(LookupSlot("_-"), 10 * 30 + 11 + 1);  // '_' reads k, '-' reads l
    EXPECT_EQ(LookupSlot("b.tex"), 1 * 30 - 1 + 1);
    EXPECT_THROW(LookupSlot("a"), std::invalid_argument);
    EXPECT_THROW(LookupSlot(".ab"), std::invalid_argument);
    EXPECT_THROW(LookupSlot("a!"), std::invalid_argument);
}

TEST(SampleArchiveTest, LookupTableRejectsASlotWhoseNamesAreApart) {
    EXPECT_NO_THROW(sample::MakeLookupTable({"ab", "AB1", "ba"}));
    EXPECT_THROW(sample::MakeLookupTable({"ab", "ba", "ab2"}), std::invalid_argument);
}

// Every slot's first index and count, read from the archive, against the table of contents.
void ExpectLookupTableMatches(const Bytes& bytes) {
    const TLGPFile archive = ReadTable(bytes);
    const std::size_t table = TLGPFile::kHeaderSize + TLGPFile::kEntrySize * archive.Count;
    std::map<int, std::pair<int, int>> expected;  // slot: first index (1-based), count
    for (int i = 0; i < archive.Count; ++i) {
        const int slot = sample::LookupSlot(archive.SubFile(i).Name);
        auto [entry, added] = expected.try_emplace(slot, i + 1, 0);
        // The entries of one slot stand together in the table of contents.
        EXPECT_EQ(entry->second.first + entry->second.second, i + 1) << archive.SubFile(i).Name;
        ++entry->second.second;
    }
    for (int slot = 0; slot < sample::kLookupSlots; ++slot) {
        const auto found = expected.find(slot);
        const std::pair<int, int> want = found == expected.end() ? std::pair(0, 0) : found->second;
        ASSERT_EQ(U16(bytes, table + 4 * slot), static_cast<std::uint32_t>(want.first)) << slot;
        ASSERT_EQ(U16(bytes, table + 4 * slot + 2), static_cast<std::uint32_t>(want.second))
            << slot;
    }
    EXPECT_EQ(U16(bytes, table + 4 * sample::kLookupSlots), 0u);  // no conflicts
}

TEST(SampleArchiveTest, LookupTableMatchesTheTableOfContents) {
    ExpectLookupTableMatches(SmallArchive(false).bytes);
    ExpectLookupTableMatches(SmallArchive(true).bytes);
}

TEST(SampleArchiveTest, DataBlocksFollowInTableOrderAndTheTerminatorEndsTheFile) {
    const Bytes& bytes = SmallArchive(false).bytes;
    const TLGPFile archive = ReadTable(bytes);
    std::size_t expected =
        TLGPFile::kHeaderSize + TLGPFile::kEntrySize * archive.Count + kLookupRegion;
    for (const auto& subFile : archive.SubFiles) {
        ASSERT_EQ(static_cast<std::size_t>(subFile->Offset), expected) << subFile->Name;
        EXPECT_EQ(HeaderName(bytes, *subFile), subFile->Name);
        expected = DataEnd(*subFile);
    }
    ASSERT_EQ(bytes.size(), expected + kTerminator.size());
    EXPECT_EQ(std::string(bytes.end() - kTerminator.size(), bytes.end()), kTerminator);
}

TEST(SampleArchiveTest, EntriesEndWithTheGameTypeBytes) {
    const Bytes& bytes = SmallArchive(false).bytes;
    const TLGPFile archive = ReadTable(bytes);
    for (int i = 0; i < archive.Count; ++i) {
        const std::size_t entry = TLGPFile::kHeaderSize + TLGPFile::kEntrySize * i;
        EXPECT_EQ(bytes[entry + 24], 14);
        EXPECT_EQ(U16(bytes, entry + 25), 0u);
    }
}

TEST(SampleArchiveTest, SameOptionsGiveTheSameBytesAndAnotherSeedOthers) {
    const auto make = [](std::uint32_t seed, unsigned threads) {
        return sample::MakeSampleArchive({.seed = seed, .levels = 3, .threads = threads}).bytes;
    };
    const Bytes first = make(7, 1);
    EXPECT_EQ(make(7, 1), first);
    EXPECT_EQ(make(7, 3), first);
    EXPECT_NE(make(8, 1), first);
}

TEST(SampleArchiveTest, FewerLevelsKeepTheContentOfTheFirstLevels) {
    const sample::SampleArchive few = sample::MakeSampleArchive({.levels = 4});
    const TLGPFile fewTable = ReadTable(few.bytes);
    const Bytes& many = SmallArchive(false).bytes;
    const TLGPFile manyTable = ReadTable(many);
    int levels = 0;
    for (const auto& subFile : fewTable.SubFiles) {
        if (!lgp::IsLevel(*subFile)) continue;
        ++levels;
        const auto same =
            std::find_if(manyTable.SubFiles.begin(), manyTable.SubFiles.end(),
                         [&](const auto& other) { return other->Name == subFile->Name; });
        ASSERT_NE(same, manyTable.SubFiles.end());
        EXPECT_EQ(sample_test::StoredData(few.bytes, *subFile),
                  sample_test::StoredData(many, **same))
            << subFile->Name;
    }
    EXPECT_EQ(levels, 4);
}

TEST(SampleArchiveTest, LevelCountOutsideTheLevelTableIsRejected) {
    EXPECT_THROW(sample::MakeSampleArchive({.levels = -1}), std::invalid_argument);
    EXPECT_THROW(sample::MakeSampleArchive({.levels = lgp::kLevelCount + 1}),
                 std::invalid_argument);
    const sample::SampleArchive none = sample::MakeSampleArchive({.levels = 0});
    EXPECT_TRUE(none.levels.empty());
    EXPECT_GT(ReadTable(none.bytes).Count, 0);
}

TEST(SampleArchiveTest, IrregularFormHasBlocksOutOfOrderOneGapAndOneSharedBlock) {
    const Bytes& bytes = SmallArchive(true).bytes;
    const TLGPFile archive = ReadTable(bytes);
    std::vector<const TLGPSubFile*> byOffset;
    bool inTableOrder = true;
    for (std::size_t i = 0; i < archive.SubFiles.size(); ++i) {
        byOffset.push_back(archive.SubFiles[i].get());
        if (i > 0 && archive.SubFiles[i]->Offset < archive.SubFiles[i - 1]->Offset) {
            inTableOrder = false;
        }
    }
    EXPECT_FALSE(inTableOrder);
    std::stable_sort(byOffset.begin(), byOffset.end(),
                     [](auto* a, auto* b) { return a->Offset < b->Offset; });

    int shared = 0;
    int gaps = 0;
    std::size_t end = TLGPFile::kHeaderSize + TLGPFile::kEntrySize * archive.Count + kLookupRegion;
    for (std::size_t k = 0; k < byOffset.size(); ++k) {
        const TLGPSubFile& subFile = *byOffset[k];
        if (k > 0 && subFile.Offset == byOffset[k - 1]->Offset) {
            ++shared;
            EXPECT_EQ(subFile.Length, byOffset[k - 1]->Length);
            continue;
        }
        ASSERT_GE(static_cast<std::size_t>(subFile.Offset), end) << subFile.Name;
        gaps += static_cast<std::size_t>(subFile.Offset) > end;
        end = DataEnd(subFile);
    }
    EXPECT_EQ(shared, 1);
    EXPECT_EQ(gaps, 1);
    EXPECT_EQ(bytes.size(), end + kTerminator.size());
    EXPECT_EQ(std::string(bytes.end() - kTerminator.size(), bytes.end()), kTerminator);
}

TEST(SampleArchiveTest, LevelSizesAndMapListDescribeTheLevels) {
    const sample::SampleArchive& sampleArchive = SmallArchive(false);
    const TLGPFile archive = ReadTable(sampleArchive.bytes);
    for (const auto& subFile : archive.SubFiles) {
        const Bytes data = sample_test::StoredData(sampleArchive.bytes, *subFile);
        if (subFile->Name == "flevel.siz") {
            ASSERT_EQ(data.size(), 4u * kSmallLevels);
            for (int level = 0; level < kSmallLevels; ++level) {
                EXPECT_EQ(sample_test::U32(data, 4 * level),
                          sampleArchive.levels[level].decodedSize);
            }
        }
        if (subFile->Name == "maplist") {
            ASSERT_EQ(U16(data, 0), static_cast<std::uint32_t>(kSmallLevels));
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(&data[2 + 32 * 7])),
                      lgp::LevelNames()[7]);
        }
    }
}

}  // namespace
