#include "lgp/mod_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "lgp/archive_compare.h"
#include "lgp/archive_loader.h"
#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "lgp/script_chunk.h"
#include "lzs/decode_stream.h"
#include "sample/sample_archive.h"
#include "tests/lgp/archive_builder.h"
#include "tests/temporary_path.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

fs::path Folder() { return test_support::TemporaryPath("mod_folder_test"); }
std::string InFolder(const char* name) { return (Folder() / name).string(); }

// The first level with texts gets a longer first text; the next level with a windowed text
// gets that text's window moved. Returns their table indices.
std::vector<int> Edit(TLGPFile& archive) {
    std::vector<int> edited;
    for (std::size_t i = 0; i < archive.SubFiles.size() && edited.size() < 2; ++i) {
        TLGPSubFile& level = *archive.SubFiles[i];
        if (!lgp::IsLevel(level) || level.Texts.empty()) continue;
        if (edited.empty()) {
            level.Texts[0].Bytes.insert(level.Texts[0].Bytes.begin(), {0x21, 0x22});
            edited.push_back(static_cast<int>(i));
            continue;
        }
        for (TLevelText& text : level.Texts) {
            if (text.Windows.empty()) continue;
            text.Windows[0]->X += 3;
            edited.push_back(static_cast<int>(i));
            break;
        }
    }
    return edited;
}

// Every file under the folder with its bytes.
std::map<std::string, Bytes> Files(const fs::path& folder) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).generic_string()] =
            Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

class ModFolderTest : public testing::Test {
protected:
    // original.lgp, and edited.lgp: the same with Edit's changes saved.
    static void SetUpTestSuite() {
        fs::create_directories(Folder());
        sample::WriteSampleArchive(InFolder("original.lgp"), {.levels = 8});
        TLGPFile archive;
        LoadArchive(archive, InFolder("original.lgp"));
        levels_ = Edit(archive);
        SaveArchive(archive, InFolder("edited.lgp"), CompressStream);
    }
    static void TearDownTestSuite() { fs::remove_all(Folder()); }

    void SetUp() override {
        LoadArchive(original_, InFolder("original.lgp"));
        LoadArchive(edited_, InFolder("edited.lgp"));
    }

    std::string Name(int index) const { return original_.SubFile(index).Name; }

    static std::vector<int> levels_;
    TLGPFile original_;
    TLGPFile edited_;
};

std::vector<int> ModFolderTest::levels_;

TEST_F(ModFolderTest, TheEditedLevelsDifferAndNoOthers) {
    ASSERT_EQ(levels_.size(), 2u);
    EXPECT_EQ(DifferentLevels(edited_, original_), levels_);
    EXPECT_EQ(DifferentLevels(original_, original_), std::vector<int>());
    sample::WriteSampleArchive(InFolder("fewer.lgp"), {.levels = 7});
    TLGPFile fewer;
    LoadArchive(fewer, InFolder("fewer.lgp"));
    EXPECT_THROW(DifferentLevels(edited_, fewer), lgp::FormatError);
}

// Direct files decode, and chunks put over the original levels give, the edited levels' bytes:
// whether the changes were saved or not.
TEST_F(ModFolderTest, EveryLayoutGivesTheEditedLevelsBack) {
    TLGPFile unsaved;
    LoadArchive(unsaved, InFolder("original.lgp"));
    Edit(unsaved);
    const std::pair<ModLayout, std::string> layouts[] = {
        {ModLayout::Direct, "direct/flevel/"},
        {ModLayout::Chunks, "direct/flevel.lgp/"},
        {ModLayout::ModManager, "flevel.lgp/"},
    };
    for (const auto& [layout, folder] : layouts) {
        for (const TLGPFile* current : {&edited_, &unsaved}) {
            const std::vector<ModFile> files =
                MakeModFiles(*current, original_, levels_, layout, CompressStream);
            ASSERT_EQ(files.size(), 3u);
            EXPECT_EQ(files[2].path, "README.txt");
            for (std::size_t i = 0; i < 2; ++i) {
                const std::string suffix = layout == ModLayout::Direct ? "" : ".chunk.1";
                EXPECT_EQ(files[i].path, folder + Name(levels_[i]) + suffix);
                const Bytes expected = edited_.ReadSubFile(edited_.SubFile(levels_[i]));
                const Bytes given =
                    layout == ModLayout::Direct
                        ? lzs::DecodeStream(files[i].bytes)
                        : PutScriptChunk(original_.ReadSubFile(original_.SubFile(levels_[i])),
                                         files[i].bytes);
                EXPECT_EQ(given, expected) << files[i].path;
            }
        }
    }
}

TEST_F(ModFolderTest, ALevelChangedOutsideItsScriptsIsNoChunk) {
    // The reference holds the first edited level with its last byte (in the background) changed.
    lgp_test::ArchiveBuilder builder;
    for (const auto& subFile : original_.SubFiles) {
        Bytes data = original_.ReadStoredData(*subFile);
        if (subFile.get() == &original_.SubFile(levels_[0])) {
            Bytes decoded = original_.ReadSubFile(*subFile);
            decoded.back() ^= 1;
            data = CompressStream(decoded);
        }
        builder.Add(subFile->Name, data);
    }
    const Bytes bytes = builder.Build();
    std::ofstream(InFolder("background.lgp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    TLGPFile reference;
    LoadArchive(reference, InFolder("background.lgp"));
    try {
        MakeModFiles(edited_, reference, {levels_[0]}, ModLayout::Chunks, CompressStream);
        ADD_FAILURE() << "a chunk was made";
    } catch (const lgp::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find(Name(levels_[0]) + " differs"), std::string::npos)
            << error.what();
    }
    EXPECT_NO_THROW(
        MakeModFiles(edited_, reference, {levels_[0]}, ModLayout::Direct, CompressStream));
}

TEST(ModFolderWriteTest, WritesIntoANewOrEmptyFolderOnlyAndLeavesNothingOnFailure) {
    const fs::path folder = test_support::TemporaryPath("mod_folder_write");
    fs::remove_all(folder);
    const std::vector<ModFile> files = {{"a/b/one", {1, 2}}, {"a/two", {}}, {"README.txt", {3}}};
    WriteModFolder((folder / "new").string(), files);
    EXPECT_EQ(Files(folder / "new"), (std::map<std::string, Bytes>{
                                         {"a/b/one", {1, 2}}, {"a/two", {}}, {"README.txt", {3}}}));
    EXPECT_THROW(WriteModFolder((folder / "new").string(), files), lgp::FileError);
    EXPECT_THROW(WriteModFolder((folder / "new/README.txt").string(), files), lgp::FileError);
    EXPECT_EQ(Files(folder / "new").size(), 3u);

    // A file where a folder of the same name was written fails last: all is taken away again.
    const std::vector<ModFile> clash = {{"x/one", {1}}, {"x", {2}}};
    EXPECT_THROW(WriteModFolder((folder / "fails/inside").string(), clash), lgp::FileError);
    EXPECT_FALSE(fs::exists(folder / "fails"));
    fs::create_directory(folder / "empty");
    EXPECT_THROW(WriteModFolder((folder / "empty").string(), clash), lgp::FileError);
    EXPECT_TRUE(fs::is_empty(folder / "empty"));
    for (const char* path : {"../out", "a//b", "/abs", "a/./b", "a\\b"}) {
        EXPECT_THROW(WriteModFolder((folder / "empty").string(), {{path, {1}}}),
                     std::invalid_argument)
            << path;
    }
    EXPECT_TRUE(fs::is_empty(folder / "empty"));
    fs::remove_all(folder);
}

}  // namespace
