#include "lgp/mod_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
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
        lgp::LoadArchive(archive, InFolder("original.lgp"));
        levels_ = Edit(archive);
        lgp::SaveArchive(archive, InFolder("edited.lgp"), lgp::CompressStream);
    }
    static void TearDownTestSuite() { fs::remove_all(Folder()); }

    void SetUp() override {
        lgp::LoadArchive(original_, InFolder("original.lgp"));
        lgp::LoadArchive(edited_, InFolder("edited.lgp"));
    }

    std::string Name(int index) const { return original_.SubFile(index).Name; }

    static std::vector<int> levels_;
    TLGPFile original_;
    TLGPFile edited_;
};

std::vector<int> ModFolderTest::levels_;

TEST_F(ModFolderTest, TheEditedLevelsDifferAndNoOthers) {
    ASSERT_EQ(levels_.size(), 2u);
    EXPECT_EQ(lgp::DifferentLevels(edited_, original_), levels_);
    EXPECT_EQ(lgp::DifferentLevels(original_, original_), std::vector<int>());
    sample::WriteSampleArchive(InFolder("fewer.lgp"), {.levels = 7});
    TLGPFile fewer;
    lgp::LoadArchive(fewer, InFolder("fewer.lgp"));
    EXPECT_THROW(lgp::DifferentLevels(edited_, fewer), lgp::FormatError);
}

// Direct files decode, and chunks put over the original levels give, the edited levels' bytes:
// whether the changes were saved or not.
TEST_F(ModFolderTest, EveryLayoutGivesTheEditedLevelsBack) {
    TLGPFile unsaved;
    lgp::LoadArchive(unsaved, InFolder("original.lgp"));
    Edit(unsaved);
    const std::pair<lgp::ModLayout, std::string> layouts[] = {
        {lgp::ModLayout::Direct, "direct/flevel/"},
        {lgp::ModLayout::Chunks, "direct/flevel.lgp/"},
        {lgp::ModLayout::ModManager, "flevel.lgp/"},
    };
    for (const auto& [layout, folder] : layouts) {
        for (const TLGPFile* current : {&edited_, &unsaved}) {
            const std::vector<lgp::ModFile> files =
                lgp::MakeModFiles(*current, original_, levels_, layout, lgp::CompressStream);
            ASSERT_EQ(files.size(), 3u);
            EXPECT_EQ(files[2].path, "README.txt");
            for (std::size_t i = 0; i < 2; ++i) {
                const std::string suffix = layout == lgp::ModLayout::Direct ? "" : ".chunk.1";
                EXPECT_EQ(files[i].path, folder + Name(levels_[i]) + suffix);
                const Bytes expected = edited_.ReadSubFile(edited_.SubFile(levels_[i]));
                const Bytes given =
                    layout == lgp::ModLayout::Direct
                        ? lzs::DecodeStream(files[i].bytes)
                        : lgp::PutScriptChunk(original_.ReadSubFile(original_.SubFile(levels_[i])),
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
            data = lgp::CompressStream(decoded);
        }
        builder.Add(subFile->Name, data);
    }
    const Bytes bytes = builder.Build();
    std::ofstream(InFolder("background.lgp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    TLGPFile reference;
    lgp::LoadArchive(reference, InFolder("background.lgp"));
    try {
        lgp::MakeModFiles(edited_, reference, {levels_[0]}, lgp::ModLayout::Chunks,
                          lgp::CompressStream);
        ADD_FAILURE() << "a chunk was made";
    } catch (const lgp::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find(Name(levels_[0]) + " differs"), std::string::npos)
            << error.what();
    }
    EXPECT_NO_THROW(lgp::MakeModFiles(edited_, reference, {levels_[0]}, lgp::ModLayout::Direct,
                                      lgp::CompressStream));
}

// A folder holding exactly what an export wrote is replaced on request, and nothing else is:
// one foreign thing beside the export, or a README changed, and the folder is left alone.
TEST_F(ModFolderTest, AnEarlierExportAndNothingElseIsReplaced) {
    const fs::path folder = Folder() / "replace";
    fs::remove_all(folder);
    const std::string mod = (folder / "mod").string();
    EXPECT_EQ(lgp::InspectModFolder(mod), lgp::ModFolderContents::Nothing);
    fs::create_directories(mod);
    EXPECT_EQ(lgp::InspectModFolder(mod), lgp::ModFolderContents::Nothing);
    lgp::ExportModFolder(edited_, original_, mod, lgp::ModLayout::Chunks, lgp::CompressStream);
    const std::map<std::string, Bytes> chunks = Files(mod);
    ASSERT_EQ(chunks.size(), levels_.size() + 1);
    EXPECT_EQ(lgp::InspectModFolder(mod), lgp::ModFolderContents::EarlierExport);
    EXPECT_THROW(
        lgp::ExportModFolder(edited_, original_, mod, lgp::ModLayout::Direct, lgp::CompressStream),
        lgp::FileError);
    EXPECT_EQ(Files(mod), chunks);

    // A write that fails puts the earlier export back.
    const std::vector<lgp::ModFile> clash = {{"x/one", {1}}, {"x", {2}}};
    EXPECT_THROW(lgp::WriteModFolder(mod, clash, lgp::EarlierExport::Replace), lgp::FileError);
    EXPECT_EQ(Files(mod), chunks);
    EXPECT_FALSE(fs::exists(folder / "mod" / "x"));

    lgp::ExportModFolder(edited_, original_, mod, lgp::ModLayout::Direct, lgp::CompressStream, {},
                         lgp::EarlierExport::Replace);
    std::map<std::string, Bytes> direct = Files(mod);
    ASSERT_EQ(direct.size(), levels_.size() + 1);
    for (const int level : levels_) EXPECT_TRUE(direct.contains("direct/flevel/" + Name(level)));
    // The chunks' folder went with them; "direct" serves the new export.
    EXPECT_FALSE(fs::exists(folder / "mod" / "direct" / "flevel.lgp"));
    EXPECT_EQ(lgp::InspectModFolder(mod), lgp::ModFolderContents::EarlierExport);

    const auto write = [](const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    };
    const std::string level = Name(levels_[0]);
    const std::pair<const char*, std::function<void(const fs::path&)>> foreign[] = {
        {"a file of the user's", [&](const fs::path& at) { write(at / "notes.txt", "mine"); }},
        {"an empty folder", [](const fs::path& at) { fs::create_directory(at / "direct" / "mine"); }},
        {"a level the README does not name",
         [&](const fs::path& at) { write(at / "direct" / "flevel" / "zz1", "x"); }},
        {"another layout's file",
         [&](const fs::path& at) { write(at / "flevel.lgp" / (level + ".chunk.1"), "x"); }},
        {"a README changed",
         [&](const fs::path& at) { write(at / "README.txt", "The levels of mine"); }},
        {"a link in place of a level",
         [&](const fs::path& at) {
             fs::remove(at / "direct" / "flevel" / level);
             fs::create_symlink(Folder() / "original.lgp", at / "direct" / "flevel" / level);
         }},
    };
    for (const auto& [what, change] : foreign) {
        const fs::path copy = folder / "copy";
        fs::remove_all(copy);
        fs::copy(mod, copy, fs::copy_options::recursive);
        change(copy);
        const std::map<std::string, Bytes> before = Files(copy);
        EXPECT_EQ(lgp::InspectModFolder(copy.string()), lgp::ModFolderContents::Other) << what;
        EXPECT_THROW(lgp::ExportModFolder(edited_, original_, copy.string(), lgp::ModLayout::Chunks,
                                          lgp::CompressStream, {}, lgp::EarlierExport::Replace),
                     lgp::FileError)
            << what;
        EXPECT_EQ(Files(copy), before) << what;
    }
    EXPECT_EQ(lgp::InspectModFolder(InFolder("original.lgp")), lgp::ModFolderContents::Other);
    fs::remove_all(folder);
}

TEST(ModFolderWriteTest, WritesIntoANewOrEmptyFolderOnlyAndLeavesNothingOnFailure) {
    const fs::path folder = test_support::TemporaryPath("mod_folder_write");
    fs::remove_all(folder);
    const std::vector<lgp::ModFile> files = {
        {"a/b/one", {1, 2}}, {"a/two", {}}, {"README.txt", {3}}};
    lgp::WriteModFolder((folder / "new").string(), files);
    EXPECT_EQ(Files(folder / "new"), (std::map<std::string, Bytes>{
                                         {"a/b/one", {1, 2}}, {"a/two", {}}, {"README.txt", {3}}}));
    EXPECT_THROW(lgp::WriteModFolder((folder / "new").string(), files), lgp::FileError);
    EXPECT_THROW(lgp::WriteModFolder((folder / "new/README.txt").string(), files), lgp::FileError);
    EXPECT_EQ(Files(folder / "new").size(), 3u);

    // A file where a folder of the same name was written fails last: all is taken away again.
    const std::vector<lgp::ModFile> clash = {{"x/one", {1}}, {"x", {2}}};
    EXPECT_THROW(lgp::WriteModFolder((folder / "fails/inside").string(), clash), lgp::FileError);
    EXPECT_FALSE(fs::exists(folder / "fails"));
    fs::create_directory(folder / "empty");
    EXPECT_THROW(lgp::WriteModFolder((folder / "empty").string(), clash), lgp::FileError);
    EXPECT_TRUE(fs::is_empty(folder / "empty"));
    for (const char* path : {"../out", "a//b", "/abs", "a/./b", "a\\b"}) {
        EXPECT_THROW(lgp::WriteModFolder((folder / "empty").string(), {{path, {1}}}),
                     std::invalid_argument)
            << path;
    }
    EXPECT_TRUE(fs::is_empty(folder / "empty"));
    fs::remove_all(folder);
}

}  // namespace
