#include "lgp/archive_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "lgp/archive_loader.h"
#include "lgp/field_parser.h"
#include "lgp/field_rebuilder.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "lzs/decode_stream.h"
#include "lzs/hash_stream.h"
#include "sample/sample_archive.h"
#include "tests/lgp/archive_builder.h"
#include "text/text_encoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const sample::SampleArchive& Sample(bool irregular) {
    static const sample::SampleArchive regular = sample::MakeSampleArchive({.levels = 8});
    static const sample::SampleArchive other =
        sample::MakeSampleArchive({.levels = 8, .irregular = true});
    return irregular ? other : regular;
}

// An archive's table read from a file of its own (rebuilding reads levels through the file
// name), removed with this object.
class LoadedArchive {
public:
    explicit LoadedArchive(const Bytes& bytes) {
        static int files = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("orvenne_writer_test_" + std::to_string(::getpid()) + "_" +
                 std::to_string(++files) + ".lgp");
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        archive_.ReadTableOfContents(path_.string());
    }
    ~LoadedArchive() { std::filesystem::remove(path_); }

    TLGPFile& operator*() { return archive_; }
    TLGPFile* operator->() { return &archive_; }

private:
    std::filesystem::path path_;
    TLGPFile archive_;
};

LoadedArchive Load(const Bytes& bytes) { return LoadedArchive(bytes); }

Bytes Write(TLGPFile& archive, const lgp::Compressor& compress = lzs::CompressHashedStream,
            unsigned threads = 0) {
    std::stringstream target;
    lgp::WriteArchive(archive, target, compress, {}, threads);
    const std::string bytes = target.str();
    return Bytes(bytes.begin(), bytes.end());
}

TEST(ArchiveWriterTest, UnchangedArchiveIsWrittenAsItWas) {
    for (bool irregular : {false, true}) {
        const Bytes& original = Sample(irregular).bytes;
        auto archive = Load(original);
        int compressions = 0;
        const Bytes written = Write(*archive, [&](std::span<const std::uint8_t> data) {
            ++compressions;
            return lzs::CompressHashedStream(data);
        });
        EXPECT_EQ(compressions, 0);
        EXPECT_TRUE(written == original) << (irregular ? "irregular" : "regular");
        for (const auto& subFile : archive->SubFiles) {
            EXPECT_EQ(subFile->NewOffset, subFile->Offset) << subFile->Name;
            EXPECT_EQ(subFile->NewLength, subFile->Length) << subFile->Name;
        }
    }
}

TEST(ArchiveWriterTest, ContainerFieldsAreWrittenAnew) {
    // A creator with leading blanks, odd bytes at the end of the table entries, and bytes
    // after the last data: the creator is re-padded, the entries end in 14 0 0, and the end
    // of the file is the terminator.
    Bytes original = lgp_test::ArchiveBuilder("  ME").Add("maplist", {1, 2}).Add("x.tex", {3}).Build();
    original[16 + 25] = 7;
    original[16 + 27 + 24] = 9;
    original.resize(original.size() - 14);
    original.insert(original.end(), {'j', 'u', 'n', 'k'});
    auto archive = Load(original);

    Bytes expected = original;
    expected[8] = expected[9] = 0;  // "ME" right-aligned, padded with zeros, not blanks
    expected[16 + 25] = 0;
    expected[16 + 27 + 24] = 14;
    expected.resize(expected.size() - 4);
    for (char c : std::string("FINAL FANTASY7")) expected.push_back(static_cast<std::uint8_t>(c));
    EXPECT_EQ(Write(*archive), expected);
}

void ParseLevels(TLGPFile& archive, const Bytes& bytes) {
    for (int i = 0; i < archive.Count; ++i) {
        TLGPSubFile& subFile = archive.SubFile(i);
        if (!lgp::IsLevel(subFile)) continue;
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        lgp::ParseFieldFile(subFile, lzs::DecodeStream(TLGPFile::ReadStoredData(in, subFile)));
    }
}

// Loads the sample, parses its levels and lengthens the first text of the first level that
// has one; returns that level's table index.
int EditFirstText(TLGPFile& archive, const Bytes& bytes, const std::string& addition) {
    ParseLevels(archive, bytes);
    for (int i = 0; i < archive.Count; ++i) {
        TLGPSubFile& subFile = archive.SubFile(i);
        if (!lgp::IsLevel(subFile) || subFile.Texts.empty()) continue;
        Bytes& text = subFile.Texts[0].Bytes;
        const Bytes more = text::EncodeText(addition, false);
        text.insert(text.end() - 1, more.begin(), more.end());
        return i;
    }
    return -1;
}

TEST(ArchiveWriterTest, RebuiltLevelMovesExactlyTheDataBehindIt) {
    for (bool irregular : {false, true}) {
        const Bytes& original = Sample(irregular).bytes;
        auto archive = Load(original);
        const int edited = EditFirstText(*archive, original, " And more words, to grow it.");
        ASSERT_GE(edited, 0);
        const TLGPSubFile& level = archive->SubFile(edited);
        const Bytes written = Write(*archive);

        const std::int64_t growth = std::int64_t{level.NewLength} - level.Length;
        for (const auto& subFile : archive->SubFiles) {
            const std::int64_t moved = std::int64_t{subFile->NewOffset} - subFile->Offset;
            EXPECT_EQ(moved, subFile->Offset > level.Offset ? growth : 0) << subFile->Name;
        }
        // Read back: every sub-file's stored data is the old one, but the edited level's.
        std::istringstream oldIn(std::string(original.begin(), original.end()));
        auto reread = Load(written);
        ASSERT_EQ(reread->Count, archive->Count);
        for (int i = 0; i < archive->Count; ++i) {
            const TLGPSubFile& before = archive->SubFile(i);
            const TLGPSubFile& after = reread->SubFile(i);
            EXPECT_EQ(after.Offset, before.NewOffset);
            std::istringstream newIn(std::string(written.begin(), written.end()));
            const Bytes data = TLGPFile::ReadStoredData(newIn, after);
            if (i == edited) {
                TLGPSubFile parsed;
                lgp::ParseFieldFile(parsed, lzs::DecodeStream(data));
                EXPECT_EQ(parsed.Texts[0].Bytes, before.Texts[0].Bytes);
            } else {
                EXPECT_EQ(data, TLGPFile::ReadStoredData(oldIn, before)) << before.Name;
            }
        }
    }
}

// Parses the sample's levels and lengthens the first text of every level that has one; returns
// those levels in the order of their data.
std::vector<const TLGPSubFile*> EditEveryLevel(TLGPFile& archive, const Bytes& bytes) {
    ParseLevels(archive, bytes);
    std::vector<const TLGPSubFile*> edited;
    for (const auto& subFile : archive.SubFiles) {
        if (!lgp::IsLevel(*subFile) || subFile->Texts.empty()) continue;
        Bytes& text = subFile->Texts[0].Bytes;
        text.insert(text.end() - 1, {0x21, 0x22});
        edited.push_back(subFile.get());
    }
    std::stable_sort(edited.begin(), edited.end(),
                     [](const TLGPSubFile* a, const TLGPSubFile* b) { return a->Offset < b->Offset; });
    return edited;
}

TEST(ArchiveWriterTest, AnyNumberOfThreadsWritesTheSameArchive) {
    for (bool irregular : {false, true}) {
        const Bytes& original = Sample(irregular).bytes;
        auto archive = Load(original);
        ASSERT_GE(EditEveryLevel(*archive, original).size(), 4u);
        const Bytes alone = Write(*archive, lzs::CompressHashedStream, 1);
        const auto caller = std::this_thread::get_id();
        std::vector<int> expected(static_cast<std::size_t>(archive->Count));
        std::iota(expected.begin(), expected.end(), 0);
        for (unsigned threads : {2u, 5u}) {
            // Progress comes on the calling thread, for every sub-file in the order of writing.
            std::vector<int> reached;
            std::stringstream target;
            lgp::WriteArchive(
                *archive, target, lzs::CompressHashedStream,
                [&](int index) {
                    if (std::this_thread::get_id() == caller) reached.push_back(index);
                },
                threads);
            EXPECT_TRUE(target.str() == std::string(alone.begin(), alone.end()))
                << threads << " threads, " << (irregular ? "irregular" : "regular");
            EXPECT_EQ(reached, expected);
        }
    }
}

TEST(ArchiveWriterTest, TheFirstLevelToFailInWritingOrderIsReported) {
    const Bytes& original = Sample(false).bytes;
    auto archive = Load(original);
    const std::vector<const TLGPSubFile*> edited = EditEveryLevel(*archive, original);
    ASSERT_GE(edited.size(), 2u);
    const Bytes first = lgp::RebuildFieldFile(*archive, *edited[0]);
    const Bytes second = lgp::RebuildFieldFile(*archive, *edited[1]);
    // The second level fails first, the first one after it (or after a while, should the two
    // not be compressed at once).
    std::promise<void> secondFailing;
    const std::shared_future<void> secondFailed = secondFailing.get_future().share();
    const lgp::Compressor failing = [&](std::span<const std::uint8_t> data) -> Bytes {
        if (std::equal(data.begin(), data.end(), second.begin(), second.end())) {
            secondFailing.set_value();
            throw std::runtime_error("second");
        }
        if (std::equal(data.begin(), data.end(), first.begin(), first.end())) {
            secondFailed.wait_for(std::chrono::seconds(10));
            throw std::runtime_error("first");
        }
        return lzs::CompressHashedStream(data);
    };
    try {
        Write(*archive, failing, 2);
        FAIL() << "a failed compression was written";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
}

TEST(ArchiveWriterTest, AFullDiskStopsTheCompression) {
    const Bytes& original = Sample(false).bytes;
    auto archive = Load(original);
    EditEveryLevel(*archive, original);
    // Writing fails while levels are being compressed; the workers are stopped and joined.
    std::ofstream target("/dev/full", std::ios::binary);
    EXPECT_THROW(lgp::WriteArchive(*archive, target, lzs::CompressHashedStream, {}, 3),
                 lgp::FileError);
}

TEST(ArchiveWriterTest, TooLongTextsAreRefusedBeforeAnythingIsWritten) {
    const Bytes& original = Sample(false).bytes;
    auto archive = Load(original);
    const int edited = EditFirstText(*archive, original, std::string(70000, 'x'));
    ASSERT_GE(edited, 0);
    std::stringstream target;
    try {
        lgp::WriteArchive(*archive, target, lzs::CompressHashedStream);
        FAIL() << "a text section of more than 64 KiB was written";
    } catch (const lgp::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find(archive->SubFile(edited).Name), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(target.str().empty());
}

TEST(ArchiveWriterTest, OverlappingDataIsRefused) {
    Bytes bytes = lgp_test::ArchiveBuilder().Add("a", {1, 2, 3, 4}).Add("b", {5}).Build();
    // The first entry's data, made longer, runs over the second one's data header.
    lgp_test::PutI32(bytes, 16 + 2 * 27 + 20, 30);
    auto archive = Load(bytes);
    std::stringstream target;
    EXPECT_THROW(lgp::WriteArchive(*archive, target, lzs::CompressHashedStream), lgp::FormatError);
    EXPECT_TRUE(target.str().empty());
}

}  // namespace
