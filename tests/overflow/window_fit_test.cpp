#include "overflow/window_fit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "overflow/level_overflow.h"
#include "text/text_encoder.h"

namespace {

using overflow::WindowPlace;
using text::CharacterNames;

// In the game's font 'A' is 9 pixels wide: "AAAA" needs a window 8 + 36 + 3 = 47 wide, and a
// text of n lines one 16 x n + 9 high.

// A level of one script whose windows show its texts; shows[t] lists text t's windows.
class Level {
public:
    Level(const std::vector<std::string>& texts, const std::vector<WindowPlace>& windows,
          const std::vector<std::vector<int>>& shows) {
        TScript& script = level_.Entities.emplace_back().Scripts.emplace_back();
        for (const WindowPlace& place : windows) {
            TWindow& window = script.Windows.emplace_back();
            window.X = static_cast<std::int16_t>(place.x);
            window.Y = static_cast<std::int16_t>(place.y);
            window.Width = static_cast<std::uint16_t>(place.width);
            window.Height = static_cast<std::uint16_t>(place.height);
        }
        for (std::size_t t = 0; t < texts.size(); ++t) {
            TLevelText& levelText = level_.Texts.emplace_back();
            levelText.Bytes = text::EncodeText(texts[t], true);
            for (const int w : shows[t]) levelText.Windows.push_back(&script.Windows[w]);
        }
    }

    TLGPSubFile& SubFile() { return level_; }
    TWindow& Window(std::size_t w) { return level_.Entities[0].Scripts[0].Windows[w]; }
    WindowPlace Place(std::size_t w) {
        const TWindow& window = Window(w);
        return {window.X, window.Y, window.Width, window.Height};
    }
    WindowPlace Fit(std::size_t w) {
        return overflow::FitWindow(level_, Window(w), CharacterNames::Default, Window(w).X,
                                   Window(w).Y);
    }
    void Resize(std::size_t w, int width, int height) {
        Window(w).Width = static_cast<std::uint16_t>(width);
        Window(w).Height = static_cast<std::uint16_t>(height);
    }
    int Overflowing() { return overflow::CountOverflowingTexts(level_, CharacterNames::Default); }

private:
    TLGPSubFile level_;
};

TEST(FitWindow, AWindowSharedByTwoTextsFitsBoth) {
    Level level({"AAAA", "A\r\nA", "AAAAAAAAAA"}, {{100, 50, 30, 25}, {10, 10, 200, 100}},
                {{0}, {0, 0}, {1}});
    const WindowPlace fitted = level.Fit(0);
    EXPECT_EQ(fitted, (WindowPlace{100, 50, 47, 41}));

    // The fitted window shows both; one pixel less in either direction does not.
    level.Resize(0, fitted.width, fitted.height);
    EXPECT_EQ(level.Overflowing(), 0);
    level.Resize(0, fitted.width - 1, fitted.height);
    EXPECT_EQ(level.Overflowing(), 1);
    EXPECT_TRUE(overflow::IsOverflowing(level.SubFile().Texts[0], CharacterNames::Default));
    level.Resize(0, fitted.width, fitted.height - 1);
    EXPECT_EQ(level.Overflowing(), 1);
    EXPECT_TRUE(overflow::IsOverflowing(level.SubFile().Texts[1], CharacterNames::Default));
}

TEST(FitWindow, HeightFollowsTheLineRule) {
    const std::pair<std::string, int> cases[] = {
        {"A", 25}, {"A\r\nA", 41}, {"A\r\nA\r\nA", 57}, {"A\r\n{NEW PAGE}\r\nA\r\nA\r\nA\r\nA", 73},
    };
    for (const auto& [tagged, height] : cases) {
        Level level({tagged}, {{20, 20, 100, 200}}, {{0}});
        EXPECT_EQ(level.Fit(0).height, height) << tagged;
        EXPECT_EQ(level.Fit(0).width, 20) << tagged;
    }
}

TEST(FitWindow, KeepsItsPlaceUnlessItWouldLeaveTheScreen) {
    const std::pair<WindowPlace, WindowPlace> cases[] = {
        // On the screen, even inside the margins Reposition keeps: unmoved.
        {{2, 3, 10, 10}, {2, 3, 47, 41}},
        {{273, 183, 10, 10}, {273, 183, 47, 41}},
        // Past the right and bottom edges: pulled back as Reposition does.
        {{274, 184, 10, 10}, {265, 183, 47, 41}},
        {{-1, 50, 10, 10}, {8, 50, 47, 41}},
    };
    for (const auto& [place, fitted] : cases) {
        Level level({"AAAA\r\nA"}, {place}, {{0}});
        EXPECT_EQ(level.Fit(0), fitted) << place.x << ", " << place.y;
    }
    // Too wide for the screen: Reposition's largest window, which the text still overflows.
    Level wide({std::string(40, 'A')}, {{0, 0, 10, 10}}, {{0}});
    EXPECT_EQ(wide.Fit(0), (WindowPlace{8, 8, 304, 25}));
}

TEST(RepositionWindow, PullsTheWindowOntoTheScreen) {
    EXPECT_EQ(overflow::RepositionWindow({-20, 300, 400, 100}), (WindowPlace{8, 124, 304, 100}));
    EXPECT_EQ(overflow::RepositionWindow({300, 8, 20, 25}), (WindowPlace{292, 8, 20, 25}));
    EXPECT_EQ(overflow::RepositionWindow({8, 8, 304, 216}), (WindowPlace{8, 8, 304, 216}));
    EXPECT_FALSE(overflow::LeavesScreen({0, 0, 320, 224}));
    EXPECT_TRUE(overflow::LeavesScreen({0, 0, 321, 224}));
    EXPECT_TRUE(overflow::LeavesScreen({0, 1, 320, 224}));
}

TEST(LevelOverflows, EachTextInEachOfItsWindowsOnce) {
    Level level({"AAAA", "AAAA", "AAAA", "A\r\nA"},
                {{8, 8, 46, 25}, {8, 8, 47, 25}, {8, 8, 20, 25}}, {{1, 0, 0}, {}, {1}, {2}});
    const std::vector<overflow::WindowOverflow> overflows =
        overflow::LevelOverflows(level.SubFile(), CharacterNames::Default);
    ASSERT_EQ(overflows.size(), 2u);
    EXPECT_EQ(overflows[0].text, 0u);
    EXPECT_EQ(overflows[0].window, 1u);
    EXPECT_EQ(overflows[0].shownIn, &level.Window(0));
    EXPECT_EQ(text::OverflowReason(overflows[0].overflow), "line 1 is 47 px in a window of 46");
    EXPECT_EQ(overflows[1].text, 3u);
    EXPECT_EQ(text::OverflowReason(overflows[1].overflow), "page 1: 2 lines in a window for 1");
    EXPECT_EQ(level.Overflowing(), 2);
    EXPECT_TRUE(overflow::TextWindowOverflows(level.SubFile(), 1, CharacterNames::Default).empty());
}

TEST(FitLevelWindows, OnlyTheOverflowingOnesOrAll) {
    Level level({"AAAA", "AA"}, {{8, 8, 40, 25}, {8, 8, 200, 57}, {8, 8, 5, 5}}, {{0}, {1}});
    EXPECT_EQ(overflow::FitLevelWindows(level.SubFile(), CharacterNames::Default, true), 1);
    EXPECT_EQ(level.Place(0), (WindowPlace{8, 8, 47, 25}));
    EXPECT_EQ(level.Place(1), (WindowPlace{8, 8, 200, 57}));
    EXPECT_EQ(overflow::FitLevelWindows(level.SubFile(), CharacterNames::Default, false), 1);
    EXPECT_EQ(level.Place(1), (WindowPlace{8, 8, 29, 25}));
    // A window that no text shows keeps its values.
    EXPECT_EQ(level.Place(2), (WindowPlace{8, 8, 5, 5}));
    EXPECT_EQ(overflow::FitLevelWindows(level.SubFile(), CharacterNames::Default, false), 0);
}

}  // namespace
