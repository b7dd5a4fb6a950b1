#include "lgp/replace_all.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/lgp/text_archive.h"

namespace {

using lgp_test::MakeTextArchive;
using lgp_test::TaggedTexts;
using Texts = std::vector<std::vector<std::string>>;

// Two levels around a file that is not one, whose text is never replaced.
std::vector<lgp_test::TextLevel> Layout() {
    return {
        {"ancnt3", {"cloud and cloud", "A\r\nB", "a cloud"}},
        {"maplist", {"cloud"}},
        {"anfrst_1", {"\xC9LAN", "\xC9LAN \xE9lan", "{CLOUD}!", "5% 0"}},
    };
}

TEST(ReplaceAllTest, ReplacesInEveryLevelAndCountsTextsNotOccurrences) {
    struct Row {
        const char* search;
        const char* replacement;
        bool matchCase;
        int changed;
        Texts texts;
    };
    const Row rows[] = {
        {"cloud",
         "Tifa",
         true,
         2,
         {{"Tifa and Tifa", "A\r\nB", "a Tifa"},
          {"cloud"},
          {"\xC9LAN", "\xC9LAN \xE9lan", "{CLOUD}!", "5% 0"}}},
        // The test folds A to Z alone, and so takes the tag in; the replacement does too.
        {"CLOUD",
         "Tifa",
         false,
         3,
         {{"Tifa and Tifa", "A\r\nB", "a Tifa"},
          {"cloud"},
          {"\xC9LAN", "\xC9LAN \xE9lan", "{Tifa}!", "5% 0"}}},
        // The only occurrence of the first text differs in an accented letter's case: the test
        // misses it. The second text passes the test, and then both occurrences go.
        {"\xE9lan",
         "x",
         false,
         1,
         {{"cloud and cloud", "A\r\nB", "a cloud"},
          {"cloud"},
          {"\xC9LAN", "x x", "{CLOUD}!", "5% 0"}}},
        {"\r\nB",
         "{NEW PAGE}",
         true,
         1,
         {{"cloud and cloud", "A{NEW PAGE}", "a cloud"},
          {"cloud"},
          {"\xC9LAN", "\xC9LAN \xE9lan", "{CLOUD}!", "5% 0"}}},
        // A text that reads the same afterwards keeps its bytes and is not counted.
        {"AND", "and", false, 0, TaggedTexts(*MakeTextArchive(Layout()))},
        {"zebra", "x", false, 0, TaggedTexts(*MakeTextArchive(Layout()))},
    };
    for (const Row& row : rows) {
        const auto archive = MakeTextArchive(Layout());
        EXPECT_EQ(lgp::ReplaceAll(*archive, row.search, row.replacement, row.matchCase),
                  row.changed)
            << row.search;
        EXPECT_EQ(TaggedTexts(*archive), row.texts) << row.search;
    }
}

TEST(ReplaceAllTest, GoesThroughTheTableInOrderAndLeavesTheArchiveUntilApplied) {
    const auto archive = MakeTextArchive(Layout());
    std::vector<int> reached;
    const std::vector<lgp::TextReplacement> planned = lgp::PlanReplaceAll(
        *archive, "a", "e", false, [&](int subFile) { reached.push_back(subFile); });
    EXPECT_EQ(reached, (std::vector<int>{0, 1, 2}));
    // Each changed text with the occurrences replaced in it.
    std::vector<std::tuple<int, int, int>> texts;
    for (const lgp::TextReplacement& replacement : planned) {
        texts.emplace_back(replacement.subFile, replacement.text, replacement.occurrences);
    }
    EXPECT_EQ(texts, (std::vector<std::tuple<int, int, int>>{
                         {0, 0, 1}, {0, 1, 1}, {0, 2, 1}, {2, 0, 1}, {2, 1, 2}}));
    EXPECT_EQ(TaggedTexts(*archive), TaggedTexts(*MakeTextArchive(Layout())));

    lgp::ApplyReplacements(*archive, planned);
    EXPECT_EQ(TaggedTexts(*archive)[2][1], "\xC9LeN \xE9len");
    EXPECT_EQ(archive->SubFile(0).Texts[1].Bytes,
              (std::vector<std::uint8_t>{0x45, 0xE7, 0x22, 0xFF}));
}

TEST(ReplaceAllTest, RefusesTheWholeReplacementWhenATextWouldBeSpoilt) {
    struct Row {
        const char* what;
        std::string search;
        std::string replacement;
        const char* message;
    };
    const Row rows[] = {
        {"a character the game lacks", "cloud", "\x80", "level ancnt3, text 1: "},
        {"a line break cut in half", "\n", "", "level ancnt3, text 2: "},
        {"digits after a percent sign that name no placeholder", " ", "",
         "level anfrst_1, text 4: "},
    };
    for (const Row& row : rows) {
        const auto archive = MakeTextArchive(Layout());
        try {
            lgp::ReplaceAll(*archive, row.search, row.replacement, true);
            ADD_FAILURE() << row.what << ": not refused";
        } catch (const lgp::ReplaceRefused& refused) {
            EXPECT_EQ(std::string(refused.what()).rfind(row.message, 0), 0U)
                << row.what << ": " << refused.what();
        }
        EXPECT_EQ(TaggedTexts(*archive), TaggedTexts(*MakeTextArchive(Layout()))) << row.what;
    }
}

TEST(ReplaceAllTest, RefusesALevelWhoseTextSectionWouldPassItsLimit) {
    // A section holds the count, one position per text and the texts: 2 + 2 + (2k + 1) bytes
    // once each of k letters b is doubled.
    struct Row {
        std::size_t letters;
        bool refused;
    };
    for (const Row& row : {Row{32765, false}, Row{32766, true}}) {
        const auto archive = MakeTextArchive({
            {"ancnt3", {"b"}},
            {"anfrst_1", {std::string(row.letters, 'b')}},
        });
        if (row.refused) {
            EXPECT_THROW(lgp::ReplaceAll(*archive, "b", "bb", true), lgp::ReplaceRefused);
            EXPECT_EQ(TaggedTexts(*archive)[0][0], "b");
            EXPECT_EQ(archive->SubFile(1).Texts[0].Bytes.size(), row.letters + 1);
        } else {
            EXPECT_EQ(lgp::ReplaceAll(*archive, "b", "bb", true), 2);
            EXPECT_EQ(archive->SubFile(1).Texts[0].Bytes.size(), 2 * row.letters + 1);
        }
    }
}

TEST(ReplaceAllTest, RefusesToChangeADamagedLevel) {
    const auto archive = MakeTextArchive(Layout());
    archive->SubFile(2).Damage = "text 5 starts at 65535 in the text section, past its end at 40";
    try {
        lgp::ReplaceAll(*archive, "\xC9LAN", "x", true);
        ADD_FAILURE() << "not refused";
    } catch (const lgp::ReplaceRefused& refused) {
        EXPECT_STREQ(refused.what(),
                     "level anfrst_1 cannot be changed: text 5 starts at 65535 in the text "
                     "section, past its end at 40");
    }
    EXPECT_EQ(TaggedTexts(*archive), TaggedTexts(*MakeTextArchive(Layout())));
    // A damaged level in which the search does not occur is no obstacle.
    EXPECT_EQ(lgp::ReplaceAll(*archive, "cloud", "Tifa", true), 2);
}

TEST(ReplaceAllTest, ApplyingToAnotherArchiveChangesNothing) {
    const auto archive = MakeTextArchive(Layout());
    const std::vector<lgp::TextReplacement> planned = {{0, 0, {0x21, 0xFF}}, {2, 4, {0x21, 0xFF}}};
    EXPECT_THROW(lgp::ApplyReplacements(*archive, planned), std::out_of_range);
    EXPECT_EQ(TaggedTexts(*archive), TaggedTexts(*MakeTextArchive(Layout())));
}

}  // namespace
