#include "lgp/archive_compare.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lgp/format_error.h"
#include "lgp/level_tables.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct WindowValues {
    std::int16_t x, y;
    std::uint16_t width, height;
};

struct TextLayout {
    Bytes bytes;
    // Indices into the level's windows.
    std::vector<int> windows;
};

struct LevelLayout {
    std::string name;
    std::vector<WindowValues> windows;
    std::vector<TextLayout> texts;
};

// A sub-file as loading leaves it, without the file behind it: one script holding the windows.
std::unique_ptr<TLGPSubFile> MakeSubFile(const LevelLayout& layout) {
    auto subFile = std::make_unique<TLGPSubFile>();
    subFile->Name = layout.name;
    TScript& script = subFile->Entities.emplace_back().Scripts.emplace_back();
    for (const WindowValues& values : layout.windows) {
        TWindow& window = script.Windows.emplace_back();
        window.X = window.SavedX = values.x;
        window.Y = window.SavedY = values.y;
        window.Width = window.SavedWidth = values.width;
        window.Height = window.SavedHeight = values.height;
    }
    for (const TextLayout& textLayout : layout.texts) {
        TLevelText& text = subFile->Texts.emplace_back();
        text.Bytes = textLayout.bytes;
        for (int w : textLayout.windows) text.Windows.push_back(&script.Windows.at(w));
        subFile->SavedTexts.push_back(textLayout.bytes);
    }
    subFile->CompareMarks.assign(layout.texts.size(), 0);
    return subFile;
}

std::unique_ptr<TLGPFile> MakeArchive(const std::vector<LevelLayout>& layouts) {
    auto archive = std::make_unique<TLGPFile>();
    for (const LevelLayout& layout : layouts) archive->SubFiles.push_back(MakeSubFile(layout));
    archive->Count = static_cast<std::int32_t>(layouts.size());
    return archive;
}

std::string LevelName(int index) { return std::string(lgp::LevelNames()[index]); }

// Two levels around a file that is not one: the first level's text 0 is shown twice in window 0
// and once in window 1, text 1 has no window, text 2 shares window 1; the second level has one
// text in one window.
std::vector<LevelLayout> Layouts() {
    return {
        {LevelName(0),
         {{8, 8, 200, 60}, {16, 120, 180, 40}},
         {{{0x21, 0xFF}, {0, 0, 1}}, {{0x22, 0xFF}, {}}, {{0x23, 0xE7, 0x24, 0xFF}, {1}}}},
        {"maplist", {}, {}},
        {LevelName(1), {{0, 0, 100, 30}}, {{{0x25, 0xFF}, {0}}}},
    };
}

std::vector<std::vector<std::uint8_t>> Marks(const TLGPFile& archive) {
    std::vector<std::vector<std::uint8_t>> marks;
    for (const auto& subFile : archive.SubFiles) marks.push_back(subFile->CompareMarks);
    return marks;
}

const std::vector<std::vector<std::uint8_t>> kNoMarks = {{0, 0, 0}, {}, {0}};

TEST(ArchiveCompareTest, SameArchivesGiveZerosAndMarkNothing) {
    const auto current = MakeArchive(Layouts());
    const auto reference = MakeArchive(Layouts());
    const lgp::ArchiveComparison result = lgp::CompareArchives(*current, *reference);
    ASSERT_TRUE(result.Comparable());
    EXPECT_EQ(result.current.levels, 2);
    EXPECT_EQ(result.current.texts, 4);
    EXPECT_EQ(result.current.windowedTexts, 3);
    EXPECT_EQ(result.current.windows, 5);
    EXPECT_EQ(result.reference.windows, 5);
    EXPECT_EQ(result.differentTexts, 0);
    EXPECT_EQ(result.differentWindowedTexts, 0);
    EXPECT_EQ(result.differentWindows, 0);
    EXPECT_EQ(Marks(*current), kNoMarks);
}

TEST(ArchiveCompareTest, CountsAndMarksWhatDiffers) {
    struct Row {
        const char* what;
        std::function<void(TLGPFile&)> edit;
        std::int32_t texts, windowedTexts, windows;
        std::vector<std::vector<std::uint8_t>> marks;
    };
    const Row rows[] = {
        {"an unsaved edit of a text without window",
         [](TLGPFile& a) {
             a.SubFile(0).Texts[1].Bytes = {0x30, 0xFF};
         },
         1,
         0,
         0,
         {{0, 1, 0}, {}, {0}}},
        {"an edit of a windowed text",
         [](TLGPFile& a) {
             a.SubFile(2).Texts[0].Bytes = {0x25, 0x25, 0xFF};
         },
         1,
         1,
         0,
         {{0, 0, 0}, {}, {1}}},
        {"a moved window: a different window, not a different text",
         [](TLGPFile& a) { a.SubFile(2).Entities[0].Scripts[0].Windows[0].X = 9; },
         0,
         0,
         1,
         {{0, 0, 0}, {}, {1}}},
        {"a window resized in height only",
         [](TLGPFile& a) { a.SubFile(2).Entities[0].Scripts[0].Windows[0].Height = 31; },
         0,
         0,
         1,
         {{0, 0, 0}, {}, {1}}},
        {"a window shown twice by one text counts twice",
         [](TLGPFile& a) { a.SubFile(0).Entities[0].Scripts[0].Windows[0].Width = 1; },
         0,
         0,
         2,
         {{1, 0, 0}, {}, {0}}},
        {"two windows of one text that both differ count two, and a shared one its texts",
         [](TLGPFile& a) {
             a.SubFile(0).Entities[0].Scripts[0].Windows[0].Y = -4;
             a.SubFile(0).Entities[0].Scripts[0].Windows[1].Y = -4;
         },
         0,
         0,
         4,
         {{1, 0, 1}, {}, {0}}},
        {"a changed text with a moved window",
         [](TLGPFile& a) {
             a.SubFile(0).Texts[2].Bytes = {0xFF};
             a.SubFile(0).Entities[0].Scripts[0].Windows[1].Width = 0;
         },
         1,
         1,
         2,
         {{1, 0, 1}, {}, {0}}},
    };
    for (const Row& row : rows) {
        const auto current = MakeArchive(Layouts());
        const auto reference = MakeArchive(Layouts());
        row.edit(*current);
        const lgp::ArchiveComparison result = lgp::CompareArchives(*current, *reference);
        EXPECT_EQ(result.differentTexts, row.texts) << row.what;
        EXPECT_EQ(result.differentWindowedTexts, row.windowedTexts) << row.what;
        EXPECT_EQ(result.differentWindows, row.windows) << row.what;
        EXPECT_EQ(Marks(*current), row.marks) << row.what;
    }
}

TEST(ArchiveCompareTest, ArchivesOfAnotherShapeAreNotComparable) {
    struct Row {
        const char* what;
        std::function<void(std::vector<LevelLayout>&)> reshape;
    };
    const Row rows[] = {
        {"one level fewer", [](std::vector<LevelLayout>& s) { s.pop_back(); }},
        {"one more file that is not a level",
         [](std::vector<LevelLayout>& s) {
             s.push_back({"flevel.siz", {}, {}});
         }},
        {"a level at another index", [](std::vector<LevelLayout>& s) { std::swap(s[1], s[2]); }},
        {"a text moved to another level",
         [](std::vector<LevelLayout>& s) {
             s[2].texts.push_back(s[0].texts[1]);
             s[0].texts.erase(s[0].texts.begin() + 1);
         }},
        {"the same windows spread over the texts otherwise",
         [](std::vector<LevelLayout>& s) {
             s[0].texts[0].windows = {0, 1};
             s[0].texts[2].windows = {1, 0};
         }},
    };
    for (const Row& row : rows) {
        std::vector<LevelLayout> layouts = Layouts();
        row.reshape(layouts);
        const auto reference = MakeArchive(layouts);
        const auto current = MakeArchive(Layouts());
        current->SubFile(0).Texts[0].Bytes = {0xFF};
        const lgp::ArchiveComparison result = lgp::CompareArchives(*current, *reference);
        EXPECT_FALSE(result.Comparable()) << row.what;
        EXPECT_EQ(result.differentTexts, -1) << row.what;
        EXPECT_EQ(result.differentWindowedTexts, -1) << row.what;
        EXPECT_EQ(result.differentWindows, -1) << row.what;
        EXPECT_EQ(result.current.texts, 4) << row.what;
        EXPECT_EQ(result.reference.levels, lgp::CountArchive(*reference).levels) << row.what;
        EXPECT_EQ(result.reference.windows, lgp::CountArchive(*reference).windows) << row.what;
        EXPECT_EQ(Marks(*current), kNoMarks) << row.what;
    }
}

TEST(ArchiveCompareTest, MarksOfEarlierComparisonsStay) {
    const auto current = MakeArchive(Layouts());
    auto first = MakeArchive(Layouts());
    first->SubFile(0).Texts[1].Bytes = {0x31, 0xFF};
    auto second = MakeArchive(Layouts());
    second->SubFile(2).Entities[0].Scripts[0].Windows[0].X = 50;

    EXPECT_EQ(lgp::CompareArchives(*current, *first).differentTexts, 1);
    EXPECT_EQ(lgp::CompareArchives(*current, *second).differentTexts, 0);
    EXPECT_EQ(Marks(*current), (std::vector<std::vector<std::uint8_t>>{{0, 1, 0}, {}, {1}}));
    // A comparison that finds no difference, or that cannot compare, clears nothing.
    lgp::CompareArchives(*current, *MakeArchive(Layouts()));
    lgp::CompareArchives(*current, *MakeArchive({}));
    EXPECT_EQ(Marks(*current), (std::vector<std::vector<std::uint8_t>>{{0, 1, 0}, {}, {1}}));
}

TEST(ArchiveCompareTest, DifferentLevelsAreThoseWithADifferentTextOrWindow) {
    // Level 2 also opens a window that no text shows.
    std::vector<LevelLayout> layouts = Layouts();
    layouts[2].windows.push_back({4, 4, 60, 20});
    struct Row {
        const char* what;
        std::function<void(TLGPFile&)> edit;
        std::vector<int> levels;
    };
    const Row rows[] = {
        {"nothing", [](TLGPFile&) {}, {}},
        {"a text", [](TLGPFile& a) { a.SubFile(0).Texts[1].Bytes = {0xFF}; }, {0}},
        {"a text and a window",
         [](TLGPFile& a) {
             a.SubFile(0).Texts[1].Bytes = {0xFF};
             a.SubFile(2).Entities[0].Scripts[0].Windows[0].Y = 1;
         },
         {0, 2}},
        {"a window no text shows",
         [](TLGPFile& a) { a.SubFile(2).Entities[0].Scripts[0].Windows[1].Width = 1; },
         {2}},
        {"one script window more",
         [](TLGPFile& a) {
             a.SubFile(2).Entities[0].Scripts.emplace_back().Windows.emplace_back();
         },
         {2}},
    };
    for (const Row& row : rows) {
        const auto current = MakeArchive(layouts);
        row.edit(*current);
        EXPECT_EQ(lgp::DifferentLevels(*current, *MakeArchive(layouts)), row.levels) << row.what;
        EXPECT_EQ(Marks(*current), (std::vector<std::vector<std::uint8_t>>{{0, 0, 0}, {}, {0}}))
            << row.what;
    }
    EXPECT_THROW(lgp::DifferentLevels(*MakeArchive(layouts), *MakeArchive({})), lgp::FormatError);
}

// A level as opening leaves it when its field file cannot be parsed.
void MakeUnreadable(TLGPSubFile& level) {
    level.Texts.clear();
    level.SavedTexts.clear();
    level.CompareMarks.clear();
    level.Entities.clear();
    level.Unreadable = true;
    level.Damage = "position 9 lies outside the field file";
}

// A level that could not be read in either archive is left out in both, as if missing from
// both: the rest is compared.
TEST(ArchiveCompareTest, LevelsUnreadableInEitherArchiveAreLeftOut) {
    struct Row {
        const char* what;
        bool currentUnreadable;
        std::int32_t levels, texts, windows;
        std::int32_t differentTexts;
        std::vector<std::vector<std::uint8_t>> marks;
        std::vector<int> differentLevels;
    };
    // The current archive's texts 1 of both levels differ: only the one compared counts.
    const Row rows[] = {
        {"unreadable in the reference", false, 1, 3, 4, 1, {{0, 1, 0}, {}, {0}}, {0}},
        {"unreadable in the current archive", true, 1, 3, 4, 1, {{0, 1, 0}, {}, {}}, {0}},
    };
    for (const Row& row : rows) {
        const auto current = MakeArchive(Layouts());
        const auto reference = MakeArchive(Layouts());
        current->SubFile(0).Texts[1].Bytes = {0x30, 0xFF};
        MakeUnreadable(row.currentUnreadable ? current->SubFile(2) : reference->SubFile(2));
        if (!row.currentUnreadable) current->SubFile(2).Texts[0].Bytes = {0x30, 0xFF};
        const lgp::ArchiveComparison result = lgp::CompareArchives(*current, *reference);
        ASSERT_TRUE(result.Comparable()) << row.what;
        EXPECT_EQ(result.current.levels, row.levels) << row.what;
        EXPECT_EQ(result.reference.levels, row.levels) << row.what;
        EXPECT_EQ(result.current.texts, row.texts) << row.what;
        EXPECT_EQ(result.reference.texts, row.texts) << row.what;
        EXPECT_EQ(result.reference.windows, row.windows) << row.what;
        EXPECT_EQ(result.differentTexts, row.differentTexts) << row.what;
        EXPECT_EQ(result.differentWindows, 0) << row.what;
        EXPECT_EQ(Marks(*current), row.marks) << row.what;
        EXPECT_EQ(lgp::DifferentLevels(*current, *reference), row.differentLevels) << row.what;
    }
    // An archive is comparable with its own copy, both with the same level unreadable.
    const auto current = MakeArchive(Layouts());
    const auto copy = MakeArchive(Layouts());
    MakeUnreadable(current->SubFile(0));
    MakeUnreadable(copy->SubFile(0));
    const lgp::ArchiveComparison result = lgp::CompareArchives(*current, *copy);
    EXPECT_EQ(result.differentTexts, 0);
    EXPECT_EQ(result.current.texts, 1);
}

}  // namespace
