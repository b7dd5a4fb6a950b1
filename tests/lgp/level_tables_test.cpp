#include "lgp/level_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lgp/lgp_sub_file.h"

namespace {

bool IsNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }

TEST(LevelTablesTest, NamesAreDistinctShortLowerCaseFieldNames) {
    const auto names = lgp::LevelNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(lgp::kLevelCount));
    EXPECT_EQ(std::set<std::string_view>(names.begin(), names.end()).size(), names.size());
    for (std::string_view name : names) {
        EXPECT_TRUE(!name.empty() && name.size() <= 8 && std::ranges::all_of(name, IsNameChar))
            << '"' << name << '"';
    }
}

TEST(LevelTablesTest, EveryLevelHasAPrintableAsciiDescription) {
    const auto descriptions = lgp::EnglishDescriptions();
    ASSERT_EQ(descriptions.size(), static_cast<std::size_t>(lgp::kLevelCount));
    for (std::size_t i = 0; i < descriptions.size(); ++i) {
        const std::string_view text = descriptions[i];
        EXPECT_TRUE(!text.empty() && text.front() != ' ' && text.back() != ' ' &&
                    std::ranges::all_of(text, [](char c) { return c >= ' ' && c <= '~'; }))
            << lgp::LevelNames()[i] << ": \"" << text << '"';
    }
}

// Rows checked by hand against the published name order, including both ends of the table.
TEST(LevelTablesTest, NamesStandAtTheirPublishedIndexes) {
    const struct {
        int index;
        std::string_view name;
    } rows[] = {
        {0, "ancnt3"},     {1, "anfrst_1"},  {60, "blin69_1"}, {100, "colne_5"},
        {236, "hyou6"},    {351, "las4_42"}, {480, "niv_cl"},  {534, "qa"},
        {630, "startmap"}, {660, "ujunon1"}, {700, "zz3"},     {701, "zz2"},
    };
    for (const auto& row : rows) EXPECT_EQ(lgp::LevelNames()[row.index], row.name) << row.index;
}

TEST(LevelTablesTest, PublishedDescriptionsAreUsedExactly) {
    const struct {
        std::string_view name;
        std::string_view description;
    } rows[] = {
        {"ancnt3", "Forgotten City - altar"},          {"blin69_1", "Shinra Building - 69th floor"},
        {"niv_cl", "Nibelheim - Cloud's house"},       {"ujunon1", "Junon (village)"},
        {"zz2", "Weapon seller's house near Gongaga"}, {"anfrst_1", "Ancient Forest - part 2"},
        {"zz1", "Sleeping man cave"},
    };
    for (const auto& row : rows) {
        const int index = lgp::LevelIndex(row.name);
        ASSERT_GE(index, 0) << row.name;
        EXPECT_EQ(lgp::EnglishDescriptions()[index], row.description) << row.name;
    }
}

TEST(LevelTablesTest, SharedDescriptionsOccurTheirPublishedNumberOfTimes) {
    const auto descriptions = lgp::EnglishDescriptions();
    EXPECT_EQ(std::ranges::count(descriptions, "DEBUG ROOM"), 12);
    EXPECT_EQ(std::ranges::count(descriptions, "Great Glacier"), 8);
}

TEST(LevelTablesTest, LevelIndexFindsEveryNameAtItsOwnIndex) {
    const auto names = lgp::LevelNames();
    for (int i = 0; i < lgp::kLevelCount; ++i) {
        EXPECT_EQ(lgp::LevelIndex(names[i]), i) << names[i];
        EXPECT_TRUE(lgp::IsLevel(names[i])) << names[i];
    }
}

TEST(LevelTablesTest, OnlyExactNamesAreLevels) {
    // Letter case, blanks, a trailing zero byte, prefixes and names of other archive files.
    const std::string_view others[] = {
        "ANCNT3", "Ancnt3",  "ancnt3 ", " ancnt3", std::string_view("ancnt3\0", 7),
        "ancnt",  "ancnt31", "",        "maplist", "zz9",
    };
    for (std::string_view name : others) {
        EXPECT_EQ(lgp::LevelIndex(name), -1) << '"' << name << '"';
        EXPECT_FALSE(lgp::IsLevel(name)) << '"' << name << '"';
    }
}

TEST(LevelTablesTest, SubFileIsALevelByItsName) {
    TLGPSubFile subFile;
    subFile.Name = "ancnt3";
    EXPECT_TRUE(lgp::IsLevel(subFile));
    subFile.Name = "ANCNT3";
    EXPECT_FALSE(lgp::IsLevel(subFile));
    subFile.Name = "flevel.siz";
    EXPECT_FALSE(lgp::IsLevel(subFile));
}

TEST(LevelDescriptionsTest, StartAsTheEnglishDescriptions) {
    const lgp::LevelDescriptions fresh;
    const lgp::LevelDescriptions& runtime = lgp::RuntimeLevelDescriptions();
    for (int i = 0; i < lgp::kLevelCount; ++i) {
        EXPECT_EQ(fresh.Get(i), lgp::EnglishDescriptions()[i]) << i;
        EXPECT_EQ(runtime.Get(i), lgp::EnglishDescriptions()[i]) << i;
    }
    EXPECT_EQ(fresh.Get("ancnt3"), "Forgotten City - altar");
}

TEST(LevelDescriptionsTest, ReplacedEntriesAreReadByIndexAndNameUntilReset) {
    lgp::LevelDescriptions descriptions;
    descriptions.Set(0, "Cite Oubliee - autel");
    descriptions.Set(lgp::kLevelCount - 1, "");
    EXPECT_EQ(descriptions.Get(0), "Cite Oubliee - autel");
    EXPECT_EQ(descriptions.Get("ancnt3"), "Cite Oubliee - autel");
    EXPECT_EQ(descriptions.Get("zz2"), "");
    EXPECT_EQ(descriptions.Get(1), lgp::EnglishDescriptions()[1]);

    descriptions.ResetToEnglish();
    EXPECT_EQ(descriptions.Get(0), "Forgotten City - altar");
    EXPECT_EQ(descriptions.Get("zz2"), "Weapon seller's house near Gongaga");
}

TEST(LevelDescriptionsTest, UnknownNamesAndBadIndexesAreRejected) {
    lgp::LevelDescriptions descriptions;
    EXPECT_EQ(descriptions.Get("ANCNT3"), "");
    EXPECT_THROW(descriptions.Get(-1), std::out_of_range);
    EXPECT_THROW(descriptions.Get(lgp::kLevelCount), std::out_of_range);
    EXPECT_THROW(descriptions.Set(lgp::kLevelCount, "x"), std::out_of_range);
}

}  // namespace
