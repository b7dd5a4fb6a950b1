#include "preview/color_profiles.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

constexpr TWindowColors kRed{Rgb(255, 0, 0), 0, 0, 0};
constexpr TWindowColors kCounting{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12)};

const TColorProfiles::Section kStored = {
    {"Red", "FF0000"},
    {"Damaged", "zz58B0000050000020000080"},
    {"Lower", "0058b0000050000020000080"},
};

TColorProfiles ThreeProfiles(int selected = 0) {
    return TColorProfiles::FromSection(kStored, selected);
}

TEST(ColorProfiles, ReadsTheSectionLenientlyAndWritesItBackInUpperCase) {
    const TColorProfiles profiles = ThreeProfiles();
    ASSERT_EQ(profiles.Count(), 3);
    EXPECT_EQ(profiles.Profile(0).Name, "Red");
    EXPECT_EQ(profiles.Profile(0).Colors, kRed);
    EXPECT_EQ(profiles.Profile(1).Colors, preview::DefaultWindowColors);
    EXPECT_EQ(profiles.Profile(2).Colors, preview::DefaultWindowColors);
    const TColorProfiles::Section written = {
        {"Red", "FF0000000000000000000000"},
        {"Damaged", "0058B0000050000020000080"},
        {"Lower", "0058B0000050000020000080"},
    };
    EXPECT_EQ(profiles.ToSection(), written);
}

TEST(ColorProfiles, KeepsTheFirstOfKeysThatDifferOnlyInCase) {
    const TColorProfiles profiles =
        TColorProfiles::FromSection({{"Night", "FF0000"}, {"NIGHT", "00FF00"}, {"", "0000FF"}}, 0);
    ASSERT_EQ(profiles.Count(), 1);
    EXPECT_EQ(profiles.Profile(0).Colors, kRed);
}

TEST(ColorProfiles, StoredIndexOutsideTheListSelectsNothingAndGivesTheDefaultColors) {
    struct Case {
        int stored;
        int selected;
        TWindowColors colors;
    };
    const Case cases[] = {
        {0, 0, preview::DefaultWindowColors},
        {1, 1, kRed},
        {3, 3, preview::DefaultWindowColors},
        {4, TColorProfiles::kNoSelection, preview::DefaultWindowColors},
        {-1, TColorProfiles::kNoSelection, preview::DefaultWindowColors},
    };
    for (const Case& c : cases) {
        const TColorProfiles profiles = ThreeProfiles(c.stored);
        EXPECT_EQ(profiles.SelectedIndex(), c.selected) << c.stored;
        EXPECT_EQ(profiles.WindowColors(profiles.SelectedIndex()), c.colors) << c.stored;
    }
}

TEST(ColorProfiles, AddStoresTheNameWithBlanksForEqualsSignsAndSelectsIt) {
    TColorProfiles profiles;
    ASSERT_TRUE(profiles.Add("a=b", kCounting));
    EXPECT_EQ(profiles.SelectedIndex(), 1);
    const TColorProfiles::Section written = {{"a b", "0102030405060A0B0C070809"}};
    EXPECT_EQ(profiles.ToSection(), written);
}

TEST(ColorProfiles, NamesAreStoredAsAnIniLineReadsThemBack) {
    const std::pair<const char*, const char*> cases[] = {
        {"[dusk]", "dusk]"},
        {"; night", "night"},
        {"#1", "1"},
        {"a[b];c", "a[b];c"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},
    };
    for (const auto& [name, stored] : cases) EXPECT_EQ(TColorProfiles::StorableName(name), stored) << name;
    // Names that only differ where settings.ini cannot tell them apart are one name.
    TColorProfiles profiles;
    ASSERT_TRUE(profiles.Add("\xE6\x97\xA5\xE6\x9C\xAC", kCounting));
    EXPECT_FALSE(profiles.Add("\xE4\xB8\xAD\xE5\x9B\xBD", kCounting));
    EXPECT_FALSE(profiles.Add(";", kCounting));
}

TEST(ColorProfiles, RefusesNamesThatCannotBeStoredOrAreTaken) {
    TColorProfiles profiles = ThreeProfiles(2);
    for (const char* name : {"", "  ", "=", "red", "LOWER", " Red "}) {
        EXPECT_FALSE(profiles.Add(name, kCounting)) << name;
    }
    EXPECT_FALSE(profiles.Rename(0, "damaged"));
    EXPECT_FALSE(profiles.Rename(0, " = "));
    EXPECT_EQ(profiles.Count(), 3);
    EXPECT_EQ(profiles.SelectedIndex(), 2);
    // A profile may change the case of its own name.
    EXPECT_TRUE(profiles.Rename(0, "RED"));
    EXPECT_TRUE(profiles.Rename(1, "x=y"));
    EXPECT_EQ(profiles.Profile(0).Name, "RED");
    EXPECT_EQ(profiles.Profile(1).Name, "x y");
}

TEST(ColorProfiles, RemovingKeepsTheListIndexOrFallsBackToTheLastEntry) {
    struct Case {
        int selected;
        int removed;
        int selectedAfter;
    };
    const Case cases[] = {
        {2, 1, 2},  // the next profile moves up into the selected place
        {3, 2, 2},  // the last profile: the one before it
        {1, 0, 1},
    };
    for (const Case& c : cases) {
        TColorProfiles profiles = ThreeProfiles(c.selected);
        profiles.Remove(c.removed);
        EXPECT_EQ(profiles.Count(), 2);
        EXPECT_EQ(profiles.SelectedIndex(), c.selectedAfter) << c.selected;
    }
    TColorProfiles only = TColorProfiles::FromSection({{"Only", "FF0000"}}, 1);
    only.Remove(0);
    EXPECT_EQ(only.SelectedIndex(), 0);
    EXPECT_THROW(only.Remove(0), std::out_of_range);
}

}  // namespace
