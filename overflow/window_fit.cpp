#include "overflow/window_fit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "text/text_decoder.h"
#include "text/window_overflow.h"

namespace overflow {

namespace {

constexpr int kScreenMargin = 8;
constexpr int kRightLimit = kScreenWidth - kScreenMargin;
constexpr int kBottomLimit = kScreenHeight;

// The pages of every text, laid out once; empty for texts without windows.
std::vector<std::vector<text::PageExtent>> LevelPages(const TLGPSubFile& level,
                                                      text::CharacterNames names) {
    std::vector<std::vector<text::PageExtent>> pages(level.Texts.size());
    for (std::size_t t = 0; t < level.Texts.size(); ++t) {
        const TLevelText& levelText = level.Texts[t];
        if (levelText.Windows.empty()) continue;
        pages[t] = text::LayOutPages(text::DecodeText(levelText.Bytes), text::GameAdvances, names);
    }
    return pages;
}

bool Shows(const TLevelText& levelText, const TWindow& window) {
    return std::find(levelText.Windows.begin(), levelText.Windows.end(), &window) !=
           levelText.Windows.end();
}

struct WindowNeeds {
    bool shown = false;
    bool overflowing = false;
    text::WindowSize size;
};

WindowNeeds Needs(const TLGPSubFile& level,
                  const std::vector<std::vector<text::PageExtent>>& pages, const TWindow& window) {
    WindowNeeds needs;
    for (std::size_t t = 0; t < level.Texts.size(); ++t) {
        if (!Shows(level.Texts[t], window)) continue;
        const text::WindowSize size = text::NeededWindowSize(pages[t]);
        needs.size.width = std::max(needs.size.width, size.width);
        needs.size.height = std::max(needs.size.height, size.height);
        needs.overflowing =
            needs.overflowing || text::Overflows(pages[t], window.Width, window.Height);
        needs.shown = true;
    }
    return needs;
}

WindowPlace Place(const WindowNeeds& needs, const TWindow& window, int x, int y) {
    if (!needs.shown) return {x, y, window.Width, window.Height};
    const WindowPlace place{x, y, needs.size.width, needs.size.height};
    return LeavesScreen(place) ? RepositionWindow(place) : place;
}

}  // namespace

bool LeavesScreen(const WindowPlace& place) {
    return place.x < 0 || place.y < 0 || place.x + place.width > kScreenWidth ||
           place.y + place.height > kScreenHeight;
}

WindowPlace RepositionWindow(const WindowPlace& place) {
    WindowPlace result{std::max(place.x, kScreenMargin), std::max(place.y, kScreenMargin),
                       std::min(place.width, kRightLimit - kScreenMargin),
                       std::min(place.height, kBottomLimit - kScreenMargin)};
    if (result.x + result.width > kRightLimit) result.x = kRightLimit - result.width;
    if (result.y + result.height > kBottomLimit) result.y = kBottomLimit - result.height;
    return result;
}

WindowPlace FitWindow(const TLGPSubFile& level, const TWindow& window, text::CharacterNames names,
                      int x, int y) {
    return Place(Needs(level, LevelPages(level, names), window), window, x, y);
}

int FitLevelWindows(TLGPSubFile& level, text::CharacterNames names, bool onlyOverflowing) {
    const std::vector<std::vector<text::PageExtent>> pages = LevelPages(level, names);
    int changed = 0;
    for (TEntity& entity : level.Entities) {
        for (TScript& script : entity.Scripts) {
            for (TWindow& window : script.Windows) {
                const WindowNeeds needs = Needs(level, pages, window);
                if (!needs.shown || (onlyOverflowing && !needs.overflowing)) continue;
                const WindowPlace place = Place(needs, window, window.X, window.Y);
                if (place == WindowPlace{window.X, window.Y, window.Width, window.Height}) continue;
                window.X = static_cast<std::int16_t>(place.x);
                window.Y = static_cast<std::int16_t>(place.y);
                window.Width = static_cast<std::uint16_t>(place.width);
                window.Height = static_cast<std::uint16_t>(place.height);
                ++changed;
            }
        }
    }
    return changed;
}

}  // namespace overflow
