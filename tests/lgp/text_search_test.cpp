#include "lgp/text_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/lgp/text_archive.h"
#include "text/text_encoder.h"

namespace {

using lgp_test::MakeTextArchive;

// Table order: two levels around a file that is not one (its text is never searched), then a
// third level.
std::unique_ptr<TLGPFile> Archive() {
    return MakeTextArchive({
        {"ancnt3", {"Hello Cloud", "cloud cloud", "none"}},
        {"maplist", {"cloud"}},
        {"anfrst_1", {"Hi\r\n{RED}CLOUD{WHITE}", "{CLOUD} and Cloud"}},
        {"anfrst_2", {"\xC9LAN", "A\r\n{NEW PAGE}\r\nB"}},
    });
}

const std::vector<int> kTableOrder = {0, 1, 2, 3};

struct Search {
    explicit Search(const TLGPFile& archive) { texts.Update(archive); }

    std::optional<lgp::TextHit> Find(lgp::FindMode mode, lgp::SearchStart start,
                                     const std::string& search, bool matchCase = false,
                                     const std::vector<int>& rows = kTableOrder) {
        return lgp::FindText(texts, rows, mode, start, search, matchCase);
    }

    // Every hit of "Find" followed by "Next" after each hit, as the user would walk them.
    std::vector<lgp::TextHit> Walk(const std::string& search, bool matchCase,
                                   const std::vector<int>& rows = kTableOrder) {
        std::vector<lgp::TextHit> hits;
        std::optional<lgp::TextHit> hit =
            Find(lgp::FindMode::FromStart, {}, search, matchCase, rows);
        while (hit) {
            hits.push_back(*hit);
            const lgp::SearchStart next =
                lgp::StartOfSearch(lgp::FindMode::Next, hit->row, hit->text, hit->position,
                                   hit->position + search.size());
            hit = Find(lgp::FindMode::Next, next, search, matchCase, rows);
        }
        return hits;
    }

    lgp::SearchTexts texts;
};

TEST(TextSearchTest, FindStartsAtTheFirstTextWhateverIsSelected) {
    EXPECT_EQ(lgp::StartOfSearch(lgp::FindMode::FromStart, 2, 1, 4, 9),
              (lgp::SearchStart{0, 0, 0}));
    EXPECT_EQ(lgp::StartOfSearch(lgp::FindMode::Next, 2, 1, 4, 9), (lgp::SearchStart{2, 1, 9}));
    EXPECT_EQ(lgp::StartOfSearch(lgp::FindMode::Previous, 2, 1, 4, 9), (lgp::SearchStart{2, 1, 4}));
    const auto archive = Archive();
    Search search(*archive);
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "cloud"), (lgp::TextHit{0, 0, 0, 6}));
}

TEST(TextSearchTest, NextWalksTheSameTextThenTheFollowingTextsAndRows) {
    const auto archive = Archive();
    Search search(*archive);
    const std::vector<lgp::TextHit> folded = {
        {0, 0, 0, 6}, {0, 0, 1, 0}, {0, 0, 1, 6}, {2, 2, 0, 9}, {2, 2, 1, 1}, {2, 2, 1, 12},
    };
    EXPECT_EQ(search.Walk("cloud", false), folded);
    EXPECT_EQ(search.Walk("Cloud", true), (std::vector<lgp::TextHit>{{0, 0, 0, 6}, {2, 2, 1, 12}}));
    // No wrap-around: after the last hit the search ends.
    EXPECT_EQ(search.Find(lgp::FindMode::Next, {2, 1, 17}, "cloud"), std::nullopt);
}

TEST(TextSearchTest, PreviousFindsOnlyWhatEndsBeforeTheSelectionInTheStartText) {
    const auto archive = Archive();
    Search search(*archive);
    struct Row {
        const char* what;
        lgp::SearchStart start;
        std::optional<lgp::TextHit> hit;
    };
    const Row rows[] = {
        {"an occurrence ending at the selection", {0, 1, 5}, lgp::TextHit{0, 0, 1, 0}},
        {"the last occurrence before the selection", {0, 1, 11}, lgp::TextHit{0, 0, 1, 6}},
        {"one that ends inside the selection does not count", {0, 1, 4}, lgp::TextHit{0, 0, 0, 6}},
        {"the whole earlier texts and rows, past a file that is no level",
         {2, 0, 0},
         lgp::TextHit{0, 0, 1, 6}},
        {"a start text beyond the last", {2, 7, 0}, lgp::TextHit{2, 2, 1, 12}},
        {"nothing before the first", {0, 0, 6}, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(search.Find(lgp::FindMode::Previous, row.start, "cloud"), row.hit) << row.what;
    }
}

TEST(TextSearchTest, FollowsTheRowOrderAndPassesOverFilesThatAreNoLevels) {
    const auto archive = Archive();
    Search search(*archive);
    const std::vector<int> descending = {3, 2, 1, 0};
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "cloud", false, descending),
              (lgp::TextHit{1, 2, 0, 9}));
    EXPECT_EQ(search.Walk("Cloud", true, descending),
              (std::vector<lgp::TextHit>{{1, 2, 1, 12}, {3, 0, 0, 6}}));
    // Only the file that is not a level holds "cloud" alone in a row of its own.
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "cloud", false, {1}), std::nullopt);
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "cloud", false, {}), std::nullopt);
    EXPECT_EQ(search.Find(lgp::FindMode::Next, {4, 0, 0}, "cloud"), std::nullopt);
}

TEST(TextSearchTest, FindsLineBreaksTagsAndAccentedCapitals) {
    const auto archive = Archive();
    Search search(*archive);
    struct Row {
        const char* search;
        bool matchCase;
        std::optional<lgp::TextHit> hit;
    };
    const Row rows[] = {
        {"Hi\r\n{RED}", true, lgp::TextHit{2, 2, 0, 0}},
        {"i\r\n{red}cloud", false, lgp::TextHit{2, 2, 0, 1}},
        {"{NEW PAGE}", true, lgp::TextHit{3, 3, 1, 3}},
        {"{CLOUD}", true, lgp::TextHit{2, 2, 1, 0}},
        // Find folds by the locale: an accented capital matches its small form.
        {"\xE9lan", false, lgp::TextHit{3, 3, 0, 0}},
        {"\xE9lan", true, std::nullopt},
        {"", false, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, row.search, row.matchCase), row.hit)
            << row.search;
    }
}

TEST(TextSearchTest, ReportsTheShareOfRowsPassed) {
    const auto archive = Archive();
    lgp::SearchTexts texts;
    texts.Update(*archive);
    const std::vector<int> rows = {0, 1, 2};
    struct Row {
        lgp::FindMode mode;
        int startRow;
        std::vector<int> percents;
    };
    const Row cases[] = {
        {lgp::FindMode::FromStart, 0, {0, 50, 100}},
        {lgp::FindMode::Next, 1, {0, 100}},
        // A single row divides by 0: it reports 100.
        {lgp::FindMode::Next, 2, {100}},
        {lgp::FindMode::Previous, 2, {0, 50, 100}},
        {lgp::FindMode::Previous, 0, {100}},
    };
    for (const Row& row : cases) {
        std::vector<int> percents;
        lgp::FindText(texts, rows, row.mode, {row.startRow, 0, 0}, "zebra", false,
                      [&](int percent) { percents.push_back(percent); });
        EXPECT_EQ(percents, row.percents) << static_cast<int>(row.mode) << " " << row.startRow;
    }
}

TEST(TextSearchTest, UpdateTakesEditsAndOtherArchives) {
    auto archive = Archive();
    Search search(*archive);
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "zebra"), std::nullopt);
    archive->SubFile(2).Texts[1].Bytes = text::EncodeText("a zebra", true);
    // The copies hold the texts of the last update.
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "zebra"), std::nullopt);
    search.texts.Update(*archive);
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "zebra"), (lgp::TextHit{2, 2, 1, 2}));

    // Another archive replaces every copy.
    search.texts.Update(*MakeTextArchive({{"ancnt4", {"no stripes"}}}));
    EXPECT_EQ(search.texts.SubFileCount(), 1);
    EXPECT_EQ(search.Find(lgp::FindMode::FromStart, {}, "stripes", false, {0}),
              (lgp::TextHit{0, 0, 0, 3}));
}

TEST(TextSearchTest, FindAllGivesOccurrencesThatDoNotOverlapInTableOrder) {
    const auto archive = MakeTextArchive({
        {"anfrst_3", {"aaaa", "baab"}},
        {"flevel.siz", {"aa"}},
        {"anfrst_1", {"AA"}},
    });
    lgp::SearchTexts texts;
    texts.Update(*archive);
    EXPECT_EQ(lgp::FindAll(texts, "aa", false),
              (std::vector<lgp::TextHit>{{0, 0, 0, 0}, {0, 0, 0, 2}, {0, 0, 1, 1}, {2, 2, 0, 0}}));
    EXPECT_EQ(lgp::FindAll(texts, "aa", true).size(), 3U);
    EXPECT_TRUE(lgp::FindAll(texts, "", false).empty());
}

TEST(TextSearchTest, FindMarkedTextWalksTheMarksInRowOrder) {
    auto archive = Archive();
    archive->SubFile(0).CompareMarks = {0, 1, 0};
    archive->SubFile(1).CompareMarks = {1};  // not a level: never shown as marked
    archive->SubFile(2).CompareMarks = {1, 0};
    struct Row {
        const char* what;
        std::vector<int> rows;
        int row, text;
        bool backward;
        std::optional<lgp::TextHit> hit;
    };
    const Row rows[] = {
        {"forwards from nothing selected", kTableOrder, -1, -1, false, lgp::TextHit{0, 0, 1, 0}},
        {"forwards past a file that is no level", kTableOrder, 0, 1, false,
         lgp::TextHit{2, 2, 0, 0}},
        {"forwards after the last mark", kTableOrder, 2, 0, false, std::nullopt},
        {"backwards", kTableOrder, 2, 0, true, lgp::TextHit{0, 0, 1, 0}},
        {"backwards from nothing selected", kTableOrder, -1, -1, true, lgp::TextHit{2, 2, 0, 0}},
        {"backwards before the first mark", kTableOrder, 0, 1, true, std::nullopt},
        {"in another order", {2, 0}, 0, 0, false, lgp::TextHit{1, 0, 1, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(lgp::FindMarkedText(*archive, row.rows, row.row, row.text, row.backward), row.hit)
            << row.what;
    }
}

TEST(TextSearchTest, FindTextWhereAsksAboutTableIndicesInRowOrder) {
    const auto archive = Archive();
    // The second text of any level but anfrst_2 (table index 3), noting what it is asked
    // about: never the file that is no level.
    std::vector<std::pair<int, int>> asked;
    const lgp::TextWanted secondText = [&asked](int subFile, int text) {
        asked.emplace_back(subFile, text);
        return subFile != 3 && text == 1;
    };
    EXPECT_EQ(lgp::FindTextWhere(*archive, std::vector<int>{3, 1, 2, 0}, 0, 1, false, secondText),
              (lgp::TextHit{2, 2, 1, 0}));
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 0}, {2, 1}}));
    asked.clear();
    EXPECT_EQ(lgp::FindTextWhere(*archive, std::vector<int>{3, 1, 2, 0}, 3, 0, true, secondText),
              (lgp::TextHit{2, 2, 1, 0}));
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 1}}));
}

}  // namespace
