#include "lgp/lgp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lzs/fallback_compressor.h"
#include "tests/lgp/archive_builder.h"

namespace {

using lgp_test::ArchiveBuilder;
using lgp_test::Bytes;

// Writes an archive to a file of its own, removed when the test ends.
class ArchiveFile {
public:
    explicit ArchiveFile(const Bytes& bytes) {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("orvenne_") + test->test_suite_name() + "_" + test->name() + ".lgp");
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~ArchiveFile() { std::filesystem::remove(path_); }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

TLGPFile ReadFromMemory(const Bytes& bytes) {
    TLGPFile archive;
    archive.ReadTableOfContents(
        std::make_unique<std::istringstream>(std::string(bytes.begin(), bytes.end())), "memory");
    return archive;
}

TEST(LgpFileTest, ReadsTheTableOfContentsAndEachSubFile) {
    const Bytes level = {'f', 'i', 'e', 'l', 'd', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes stream = lzs::CompressFallback(level);
    const ArchiveFile file(ArchiveBuilder("SQUARESOFT")
                               .Add("ancnt3", stream)
                               .Add("maplist", {1, 2, 3})
                               .Gap(5)
                               .Build());
    TLGPFile archive;
    archive.ReadTableOfContents(file.Path());

    EXPECT_EQ(archive.Creator, "SQUARESOFT");
    EXPECT_EQ(archive.FileName, file.Path());
    ASSERT_EQ(archive.Count, 2);
    const TLGPSubFile& first = archive.SubFile(0);
    EXPECT_EQ(first.Name, "ancnt3");
    EXPECT_EQ(first.Offset, 16 + 2 * 27 + 5);
    EXPECT_EQ(first.NewOffset, first.Offset);
    EXPECT_EQ(first.Length, static_cast<std::int32_t>(stream.size()));
    EXPECT_EQ(first.NewLength, first.Length);
    EXPECT_EQ(archive.ReadSubFile(first), level);
    EXPECT_EQ(archive.ReadStoredData(archive.SubFile(1)), (Bytes{1, 2, 3}));
    EXPECT_THROW(archive.SubFile(2), std::out_of_range);
    EXPECT_THROW(archive.SubFile(-1), std::out_of_range);
}

TEST(LgpFileTest, TrimsNamesAndCreator) {
    struct Case {
        std::string nameField;
        std::string name;
    };
    const Case cases[] = {
        {"ancnt3", "ancnt3"},
        {"exactly20characters!", "exactly20characters!"},
        {"blanks   \t ", "blanks"},
        {"inner blank", "inner blank"},
    };
    ArchiveBuilder builder("  CREATOR");
    for (const Case& c : cases) builder.Add(c.nameField, {0});
    const TLGPFile archive = ReadFromMemory(builder.Build());
    EXPECT_EQ(archive.Creator, "CREATOR");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(archive.SubFile(static_cast<int>(i)).Name, cases[i].name);
    }
}

TEST(LgpFileTest, ReadsDataAtEachEntrysOwnOffset) {
    const Bytes bytes = ArchiveBuilder()
                            .Add("first", {1})
                            .Add("second", {2, 2})
                            .Add("third", {3, 3, 3})
                            .DataOrder({2, 0, 1})
                            .Build();
    const ArchiveFile file(bytes);
    TLGPFile archive;
    archive.ReadTableOfContents(file.Path());
    EXPECT_GT(archive.SubFile(0).Offset, archive.SubFile(2).Offset);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(archive.ReadStoredData(archive.SubFile(i)),
                  Bytes(static_cast<std::size_t>(i + 1), static_cast<std::uint8_t>(i + 1)));
    }
}

TEST(LgpFileTest, EmptyArchiveHasNoSubFiles) {
    const TLGPFile archive = ReadFromMemory(ArchiveBuilder().Build());
    EXPECT_EQ(archive.Count, 0);
    EXPECT_TRUE(archive.SubFiles.empty());
}

TEST(LgpFileTest, MalformedArchivesAreRejected) {
    const Bytes valid = ArchiveBuilder().Add("one", {1, 2, 3, 4}).Add("two", {5}).Build();
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const auto patched = [&](std::size_t position, std::int32_t value) {
        Bytes bytes = valid;
        lgp_test::PutI32(bytes, position, value);
        return bytes;
    };
    // The first data header follows the two entries; its length follows its name.
    const std::size_t firstLength = 16 + 2 * 27 + 20;
    const Case cases[] = {
        {"shorter than its header", Bytes(valid.begin(), valid.begin() + 15)},
        {"negative count", patched(ArchiveBuilder::CountPosition(), -1)},
        {"count far past the end", patched(ArchiveBuilder::CountPosition(), 0x7FFFFFFF)},
        {"table cut short", Bytes(valid.begin(), valid.begin() + 16 + 27 + 10)},
        {"negative offset", patched(ArchiveBuilder::EntryOffsetPosition(0), -20)},
        {"offset past the end", patched(ArchiveBuilder::EntryOffsetPosition(1), 100000)},
        {"offset whose data header is cut", patched(ArchiveBuilder::EntryOffsetPosition(1),
                                                    static_cast<std::int32_t>(valid.size() - 10))},
        {"negative length", patched(firstLength, -4)},
        {"length past the end", patched(firstLength, 1000)},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(ReadFromMemory(c.bytes), lgp::FormatError) << c.what;
    }
}

TEST(LgpFileTest, MissingFileIsAFileError) {
    TLGPFile archive;
    EXPECT_THROW(archive.ReadTableOfContents("/nonexistent/folder/levels.lgp"), lgp::FileError);
}

TEST(LgpFileTest, ReadingDataOfAFileThatShrankFails) {
    const Bytes bytes = ArchiveBuilder().Add("one", {1, 2, 3, 4}).Build();
    const ArchiveFile file(bytes);
    TLGPFile archive;
    archive.ReadTableOfContents(file.Path());
    const TLGPSubFile& subFile = archive.SubFile(0);
    // The table was read; now the file loses its data.
    std::filesystem::resize_file(file.Path(), 30);
    EXPECT_THROW(archive.ReadStoredData(subFile), lgp::FileError);
}

}  // namespace
