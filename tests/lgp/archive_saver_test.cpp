#include "lgp/archive_saver.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>

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
        lgp::LoadArchive(archive_, path_.string());
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
    void Save(const std::string& target, const lgp::WriteProgress& progress = {}) {
        lgp::SaveArchive(
            archive_, target,
            [this](std::span<const std::uint8_t> data) {
                ++compressions_;
                return lzs::CompressHashedStream(data);
            },
            progress);
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
            lgp::ParseFieldFile(copy, archive_.ReadSubFile(*subFile));
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
    EXPECT_FALSE(lgp::TextsChanged(level));
    EXPECT_EQ(level.Offset, level.NewOffset);

    // The archive reads from the new file, and a second save rebuilds nothing.
    TLGPFile reread;
    lgp::LoadArchive(reread, path_.string());
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
    lgp::LoadArchive(reread, path_.string());
    TLGPFile opened;
    WriteFile(other, original_);
    lgp::LoadArchive(opened, other.string());
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
    EXPECT_TRUE(lgp::TextsChanged(level));
    EXPECT_EQ(ReadFile(path_), original_);
    TLGPFile copy;
    lgp::LoadArchive(copy, other.string());
    for (int i = 0; i < copy.Count; ++i) {
        if (copy.SubFile(i).Name == level.Name) {
            EXPECT_EQ(copy.SubFile(i).Texts[0].Bytes, level.Texts[0].Bytes);
        }
    }
}

TEST_F(ArchiveSaverTest, SavingAsAnotherNameCanMakeItTheOpenedFile) {
    TLGPSubFile& level = EditText();
    const fs::path other = folder_ / "copy.lgp";
    lgp::SaveArchive(archive_, other.string(), lzs::CompressHashedStream, {},
                     {.breakLinks = false, .adoptTarget = true, .beforeReplace = {}});
    EXPECT_EQ(archive_.FileName, other.string());
    EXPECT_FALSE(lgp::TextsChanged(level));
    EXPECT_EQ(ReadFile(path_), original_);

    // The next save goes to the new file and reads its unchanged levels from there.
    WriteFile(path_, {});
    EditText(" Again.");
    Save(other.string());
    TLGPFile copy;
    lgp::LoadArchive(copy, other.string());
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
    EXPECT_TRUE(lgp::TextsChanged(level));
    ExpectStillUsable();

    // A text section that would overflow: refused, nothing written.
    EditText(std::string(70000, 'x'));
    EXPECT_THROW(Save(path_.string()), lgp::FormatError);
    ExpectOnlyTheArchive();
    EXPECT_EQ(ReadFile(path_), original_);
    level.Texts[0].Bytes = edited;

    // After the failures, the same save succeeds.
    Save(path_.string());
    EXPECT_FALSE(lgp::TextsChanged(level));
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

TEST_F(ArchiveSaverTest, ALongNameIsSavedAndAMissingFolderFailsCleanly) {
    // A name as long as the file system takes: the temporary name is shortened to fit.
    const fs::path longPath = folder_ / (std::string(251, 'n') + ".lgp");
    fs::rename(path_, longPath);
    TLGPFile archive;
    lgp::LoadArchive(archive, longPath.string());
    lgp::SaveArchive(archive, longPath.string(), lzs::CompressHashedStream);
    TLGPFile reread;
    lgp::LoadArchive(reread, longPath.string());
    EXPECT_EQ(reread.Count, archive.Count);
    fs::rename(longPath, path_);
    ExpectOnlyTheArchive();

    // A target in a folder that does not exist.
    EXPECT_THROW(Save((folder_ / "missing" / "levels.lgp").string()), lgp::FileError);
    ExpectOnlyTheArchive();
}

// The one save path: a file that another program moves into the archive's place is written
// over only when the user says so, whenever it comes.
class SafeSaveTest : public ArchiveSaverTest {
protected:
    // Saves over the archive; `during` runs once, while the changed level is compressed.
    // Returns what SaveArchiveSafely returns; counts the questions in asked_.
    bool SaveMovingIn(const std::function<void()>& during, bool answer) {
        std::once_flag once;
        return lgp::SaveArchiveSafely(archive_, path_.string(),
                                      {.compress =
                                           [&](std::span<const std::uint8_t> data) {
                                               std::call_once(once, during);
                                               return lzs::CompressHashedStream(data);
                                           },
                                       .progress = {},
                                       .options = {},
                                       .saveOverChange =
                                           [&] {
                                               ++asked_;
                                               return answer;
                                           },
                                       .targetLocked = false});
    }

    // Another program's archive, put in the archive's place.
    void MoveOtherIn() {
        const fs::path other = folder_ / "other.lgp";
        WriteFile(other, otherBytes_);
        fs::rename(other, path_);
    }

    const Bytes otherBytes_ = sample::MakeSampleArchive({.seed = 7, .levels = 6}).bytes;
    int asked_ = 0;
};

TEST_F(SafeSaveTest, AFileMovedInDuringTheSaveIsKeptUnlessTheUserSaysOtherwise) {
    TLGPSubFile& level = EditText();
    EXPECT_FALSE(SaveMovingIn([this] { MoveOtherIn(); }, false));
    EXPECT_EQ(asked_, 1);
    EXPECT_EQ(ReadFile(path_), otherBytes_);
    ExpectOnlyTheArchive();
    EXPECT_TRUE(lgp::TextsChanged(level));

    // Asked again, the user saves over it: the archive's own data is written.
    WriteFile(path_, original_);
    archive_.NoteIdentity();
    EXPECT_TRUE(SaveMovingIn([this] { MoveOtherIn(); }, true));
    EXPECT_EQ(asked_, 2);
    EXPECT_FALSE(lgp::TextsChanged(level));
    TLGPFile reread;
    lgp::LoadArchive(reread, path_.string());
    EXPECT_EQ(reread.SubFile(2).Texts[0].Bytes, level.Texts[0].Bytes);
    ExpectOnlyTheArchive();
}

TEST_F(SafeSaveTest, AFileChangedBeforeTheSaveIsAskedAboutOnce) {
    EditText();
    MoveOtherIn();
    bool written = false;
    EXPECT_FALSE(SaveMovingIn([&] { written = true; }, false));
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(path_), otherBytes_);
    // Said yes before the writing, the user is not asked again before the replacement.
    EXPECT_TRUE(SaveMovingIn([] {}, true));
    EXPECT_EQ(asked_, 2);
    ExpectOnlyTheArchive();
    // Without a question to ask, such a change is never written over.
    MoveOtherIn();
    EditText(" Again.");
    EXPECT_FALSE(lgp::SaveArchiveSafely(archive_, path_.string(),
                                        {.compress = lzs::CompressHashedStream,
                                         .progress = {},
                                         .options = {},
                                         .saveOverChange = {},
                                         .targetLocked = false}));
    EXPECT_EQ(ReadFile(path_), otherBytes_);
}

TEST_F(SafeSaveTest, TheSameFileIsKnownByAnyOfItsNames) {
    const std::string path = path_.string();
    const fs::path link = folder_ / "link.lgp";
    fs::create_symlink(path_, link);
    EXPECT_TRUE(lgp::SameFile(path, path));
    EXPECT_TRUE(lgp::SameFile(path, (folder_ / "." / "levels.lgp").string()));
    EXPECT_TRUE(lgp::SameFile(link.string(), path));
    EXPECT_TRUE(lgp::SameFile((folder_ / "gone.lgp").string(),
                              (folder_ / "x" / ".." / "gone.lgp").string()));
    EXPECT_FALSE(lgp::SameFile(path, (folder_ / "gone.lgp").string()));
}

}  // namespace
