#include "lgp/archive_saver.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "lgp/archive_loader.h"
#include "lgp/field_parser.h"
#include "lgp/field_rebuilder.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lzs/hash_stream.h"
#include "sample/sample_archive.h"
#include "text/text_encoder.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ArchiveSaverTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  (std::string("orvenne_saver_") +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        static const Bytes bytes = sample::MakeSampleArchive({.levels = 6}).bytes;
        original_ = bytes;
        path_ = folder_ / "levels.lgp";
        WriteFile(path_, original_);
        LoadArchive(archive_, path_.string());
    }
    void TearDown() override {
        fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    // Lengthens the first text of the first level that has texts; returns that level.
    TLGPSubFile& EditText(const std::string& addition = " Edited.") {
        for (const auto& subFile : archive_.SubFiles) {
            if (subFile->Texts.empty()) continue;
            Bytes& text = subFile->Texts[0].Bytes;
            const Bytes more = text::EncodeText(addition, false);
            text.insert(text.end() - 1, more.begin(), more.end());
            return *subFile;
        }
        throw std::logic_error("the sample has no texts");
    }

    // Saving over the archive, counting the levels compressed.
    void Save(const std::string& target, const WriteProgress& progress = {}) {
        SaveArchive(archive_, target, [this](std::span<const std::uint8_t> data) {
            ++compressions_;
            return lzs::CompressHashedStream(data);
        }, progress);
    }

    // The folder holds the archive and nothing else: no temporary file was left.
    void ExpectOnlyTheArchive() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"levels.lgp"});
    }

    // The archive still reads after a failed save: every level decodes and parses.
    void ExpectStillUsable() {
        for (const auto& subFile : archive_.SubFiles) {
            if (subFile->Texts.empty()) continue;
            TLGPSubFile copy;
            ParseFieldFile(copy, archive_.ReadSubFile(*subFile));
            EXPECT_EQ(copy.SavedTexts, subFile->SavedTexts);
        }
    }

    fs::path folder_;
    fs::path path_;
    Bytes original_;
    TLGPFile archive_;
    std::atomic<int> compressions_ = 0;  // compression runs on several threads
};

TEST_F(ArchiveSaverTest, SavingOverTheArchiveMakesTheWrittenStateSaved) {
    TLGPSubFile& level = EditText();
    Save(path_.string());
    EXPECT_EQ(compressions_, 1);
    ExpectOnlyTheArchive();
    EXPECT_FALSE(TextsChanged(level));
    EXPECT_EQ(level.Offset, level.NewOffset);

    // The archive reads from the new file, and a second save rebuilds nothing.
    TLGPFile reread;
    LoadArchive(reread, path_.string());
    const Bytes saved = ReadFile(path_);
    Save(path_.string());
    EXPECT_EQ(compressions_, 1);
    EXPECT_EQ(ReadFile(path_), saved);
    ExpectStillUsable();
}

TEST_F(ArchiveSaverTest, AnExistingTemporaryNameIsLeftAlone) {
    const fs::path taken = folder_ / "levels.~lgp";
    WriteFile(taken, {1, 2, 3});
    bool sawSecondName = false;
    Save(path_.string(), [&](int) { sawSecondName = sawSecondName || fs::exists(folder_ / "levels.~~lgp"); });
    EXPECT_TRUE(sawSecondName);
    EXPECT_EQ(ReadFile(taken), (Bytes{1, 2, 3}));
    EXPECT_FALSE(fs::exists(folder_ / "levels.~~lgp"));
}

TEST_F(ArchiveSaverTest, AReadOnlyArchiveIsRefusedAndStaysAsItWas) {
    EditText();
    fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    try {
        Save(path_.string());
        FAIL() << "a read-only archive was saved over";
    } catch (const lgp::FileError& error) {
        EXPECT_EQ(error.what(), path_.string() + " is read-only");
    }
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(ReadFile(path_), original_);
    ExpectOnlyTheArchive();
}

TEST_F(ArchiveSaverTest, AnArchiveReplacedOnDiskIsNoticedAndItsOwnDataSaved) {
    TLGPSubFile& level = EditText();
    EXPECT_FALSE(archive_.ChangedOnDisk());
    // Another program puts a different archive in its place.
    const fs::path other = folder_ / "other.lgp";
    WriteFile(other, sample::MakeSampleArchive({.seed = 7, .levels = 6}).bytes);
    fs::rename(other, path_);
    EXPECT_TRUE(archive_.ChangedOnDisk());
    EXPECT_THROW(archive_.ReadSubFile(level), lgp::FileError);

    // Saved anyway, the archive is built from the data it was opened with.
    Save(path_.string());
    EXPECT_FALSE(archive_.ChangedOnDisk());
    TLGPFile reread;
    LoadArchive(reread, path_.string());
    TLGPFile opened;
    WriteFile(other, original_);
    LoadArchive(opened, other.string());
    for (std::size_t i = 0; i < reread.SubFiles.size(); ++i) {
        const TLGPSubFile& saved = *reread.SubFiles[i];
        if (saved.Name == level.Name) {
            EXPECT_EQ(saved.Texts[0].Bytes, level.Texts[0].Bytes);
        } else {
            EXPECT_EQ(reread.ReadStoredData(saved), opened.ReadStoredData(*opened.SubFiles[i]));
        }
    }
}

TEST_F(ArchiveSaverTest, SavingToAnotherNameKeepsTheOpenedState) {
    TLGPSubFile& level = EditText();
    const fs::path other = folder_ / "copy.lgp";
    Save(other.string());
    EXPECT_TRUE(TextsChanged(level));
    EXPECT_EQ(ReadFile(path_), original_);
    TLGPFile copy;
    LoadArchive(copy, other.string());
    for (int i = 0; i < copy.Count; ++i) {
        if (copy.SubFile(i).Name == level.Name) {
            EXPECT_EQ(copy.SubFile(i).Texts[0].Bytes, level.Texts[0].Bytes);
        }
    }
}

TEST_F(ArchiveSaverTest, SavingAsAnotherNameCanMakeItTheOpenedFile) {
    TLGPSubFile& level = EditText();
    const fs::path other = folder_ / "copy.lgp";
    SaveArchive(archive_, other.string(), lzs::CompressHashedStream, {}, {.adoptTarget = true});
    EXPECT_EQ(archive_.FileName, other.string());
    EXPECT_FALSE(TextsChanged(level));
    EXPECT_EQ(ReadFile(path_), original_);

    // The next save goes to the new file and reads its unchanged levels from there.
    WriteFile(path_, {});
    EditText(" Again.");
    Save(other.string());
    TLGPFile copy;
    LoadArchive(copy, other.string());
    EXPECT_EQ(copy.SubFile(2).Texts[0].Bytes, level.Texts[0].Bytes);
    EXPECT_EQ(copy.SubFile(7).Texts[54].Bytes, archive_.SubFile(7).Texts[54].Bytes);
}

TEST_F(ArchiveSaverTest, AFailedSaveLeavesEverythingAsItWas) {
    TLGPSubFile& level = EditText();
    const Bytes edited = level.Texts[0].Bytes;

    // The disk fills during the write: a file-size limit stands in for it.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = original_.size() / 2;
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_THROW(Save(path_.string()), lgp::FileError);
    setrlimit(RLIMIT_FSIZE, &previous);
    ExpectOnlyTheArchive();
    EXPECT_EQ(ReadFile(path_), original_);
    EXPECT_TRUE(TextsChanged(level));
    ExpectStillUsable();

    // A text section that would overflow: refused, nothing written.
    EditText(std::string(70000, 'x'));
    EXPECT_THROW(Save(path_.string()), lgp::FormatError);
    ExpectOnlyTheArchive();
    EXPECT_EQ(ReadFile(path_), original_);
    level.Texts[0].Bytes = edited;

    // After the failures, the same save succeeds.
    Save(path_.string());
    EXPECT_FALSE(TextsChanged(level));
}

TEST_F(ArchiveSaverTest, ALevelThatCannotBeRebuiltFailsTheSave) {
    TLGPSubFile& level = EditText();
    // The level's stored data is damaged behind the editor's back.
    Bytes damaged = original_;
    std::fill_n(damaged.begin() + level.Offset + 24, std::min(level.Length, 40), 0xFF);
    WriteFile(path_, damaged);
    EXPECT_THROW(Save(path_.string()), lgp::FormatError);
    ExpectOnlyTheArchive();
    EXPECT_EQ(ReadFile(path_), damaged);
}

TEST_F(ArchiveSaverTest, ATemporaryFileThatCannotBeCreatedFailsCleanly) {
    // A name one character too long for the file system once ".lgp" becomes ".~lgp".
    const fs::path longPath = folder_ / (std::string(251, 'n') + ".lgp");
    fs::rename(path_, longPath);
    TLGPFile archive;
    LoadArchive(archive, longPath.string());
    EXPECT_THROW(SaveArchive(archive, longPath.string(), lzs::CompressHashedStream), lgp::FileError);
    EXPECT_EQ(ReadFile(longPath), original_);
    fs::rename(longPath, path_);
    ExpectOnlyTheArchive();

    // A target in a folder that does not exist.
    EXPECT_THROW(Save((folder_ / "missing" / "levels.lgp").string()), lgp::FileError);
    ExpectOnlyTheArchive();
}

}  // namespace
