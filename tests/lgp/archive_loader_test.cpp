#include "lgp/archive_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lgp/archive_counts.h"
#include "lgp/archive_writer.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "lzs/hash_stream.h"
#include "tests/lgp/archive_builder.h"
#include "tests/lgp/field_file_builder.h"

namespace {

using lgp_test::ArchiveBuilder;
using lgp_test::Bytes;
using lgp_test::Concat;
using lgp_test::FieldFileBuilder;
using lgp_test::Message;
using lgp_test::Window;

// A level with two texts; the first is shown in one window by two messages.
Bytes LevelStream() {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, 8, 8, 200, 60), Message(0, 0), Message(0, 0)})})
        .Texts({{'(', 'I', 0xFF}, {'"', 'E', 0xFF}});
    return lzs::CompressHashedStream(builder.Build());
}

class ArchiveLoaderTest : public testing::Test {
protected:
    std::string Write(const Bytes& bytes) {
        path_ = std::filesystem::temp_directory_path() /
                (std::string("orvenne_loader_") +
                 testing::UnitTest::GetInstance()->current_test_info()->name() + ".lgp");
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path_.string();
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::filesystem::path path_;
};

TEST_F(ArchiveLoaderTest, NamesEverySubFileAndParsesOnlyLevels) {
    // "ANCNT3" differs from a level name only in case: it is not decoded, so its data may be
    // anything at all.
    const std::string path = Write(ArchiveBuilder()
                                       .Add("ancnt3", LevelStream())
                                       .Add("maplist", {1, 2, 3})
                                       .Add("ANCNT3", {0xDE, 0xAD})
                                       .Add("blin69_1", LevelStream())
                                       .Build());
    for (unsigned threads : {1u, 2u, 5u}) {
        TLGPFile archive;
        std::vector<int> progress;
        lgp::LoadArchive(
            archive, path, [&](int current) { progress.push_back(current); }, threads);
        EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3})) << threads << " threads";

        EXPECT_EQ(archive.SubFile(0).Description, "Forgotten City - altar");
        EXPECT_EQ(archive.SubFile(1).Description, "-");
        EXPECT_EQ(archive.SubFile(2).Description, "-");
        EXPECT_EQ(archive.SubFile(3).Description, "Shinra Building - 69th floor");
        EXPECT_EQ(archive.SubFile(0).Texts.size(), 2u);
        EXPECT_TRUE(archive.SubFile(2).Texts.empty());
        EXPECT_TRUE(archive.SubFile(2).Entities.empty());

        const lgp::ArchiveCounts counts = lgp::CountArchive(archive);
        EXPECT_EQ(counts.levels, 2);
        EXPECT_EQ(counts.texts, 4);
        EXPECT_EQ(counts.windowedTexts, 2);
        EXPECT_EQ(counts.windows, 4);
    }
}

TEST_F(ArchiveLoaderTest, DescriptionsComeFromTheRunTimeTable) {
    const std::string path = Write(ArchiveBuilder().Add("ancnt3", LevelStream()).Build());
    lgp::LevelDescriptions& descriptions = lgp::RuntimeLevelDescriptions();
    descriptions.Set(0, "Ville oubliee - autel");
    TLGPFile archive;
    lgp::LoadArchive(archive, path);
    descriptions.ResetToEnglish();
    EXPECT_EQ(archive.SubFile(0).Description, "Ville oubliee - autel");
}

TEST_F(ArchiveLoaderTest, ABadLevelAnywhereFailsTheWholeArchive) {
    ArchiveBuilder builder;
    for (std::string_view name : lgp::LevelNames().subspan(0, 40)) {
        builder.Add(std::string(name), LevelStream());
    }
    builder.Add("zz1", lzs::CompressHashedStream(Bytes(10, 0)));
    const std::string path = Write(builder.Build());
    for (unsigned threads : {1u, 2u}) {
        TLGPFile archive;
        int last = -1;
        EXPECT_THROW(lgp::LoadArchive(
                         archive, path, [&](int current) { last = current; }, threads),
                     lgp::FormatError);
        EXPECT_LT(last, 40);
    }

    // Kept instead, the damaged level is marked with its reason, and written back unchanged
    // beside a level that is rebuilt.
    TLGPFile archive;
    lgp::LoadArchive(archive, path, {}, 2, lgp::DamagedLevels::Keep);
    const TLGPSubFile& damaged = archive.SubFile(40);
    EXPECT_TRUE(damaged.Unreadable);
    EXPECT_NE(damaged.Damage.find("passes the end"), std::string::npos) << damaged.Damage;
    EXPECT_TRUE(damaged.Texts.empty() && damaged.Entities.empty());
    EXPECT_FALSE(archive.SubFile(39).Unreadable);
    EXPECT_TRUE(archive.SubFile(39).Damage.empty());
    std::ostringstream unchanged;
    lgp::WriteArchive(archive, unchanged, lzs::CompressHashedStream);
    const Bytes original = builder.Build();
    EXPECT_EQ(unchanged.str(), std::string(original.begin(), original.end()));
    archive.SubFile(0).Texts[0].Bytes = {'"', 'E', 'E', 0xFF};
    std::ostringstream edited;
    lgp::WriteArchive(archive, edited, lzs::CompressHashedStream);
    std::istringstream written(edited.str());
    TLGPSubFile moved;
    moved.Offset = damaged.NewOffset;
    moved.Length = damaged.NewLength;
    EXPECT_NE(damaged.NewOffset, damaged.Offset);
    EXPECT_EQ(TLGPFile::ReadStoredData(written, moved), archive.ReadStoredData(damaged));
}

TEST_F(ArchiveLoaderTest, AnArchiveWithoutLevelsNeedsNoDecoding) {
    const std::string path = Write(ArchiveBuilder().Add("maplist", {1}).Add("flevel.siz", {}).Build());
    TLGPFile archive;
    lgp::LoadArchive(archive, path);
    EXPECT_EQ(lgp::CountArchive(archive).levels, 0);
    EXPECT_EQ(archive.SubFile(1).Description, "-");
}

}  // namespace
