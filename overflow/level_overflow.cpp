#include "overflow/level_overflow.h"

#include <algorithm>

#include "text/text_decoder.h"

namespace overflow {

namespace {

std::vector<text::PageExtent> Pages(const TLevelText& levelText, text::CharacterNames names) {
    return text::LayOutPages(text::DecodeText(levelText.Bytes), text::GameAdvances, names);
}

bool SeenBefore(const std::vector<TWindow*>& windows, std::size_t index) {
    return std::find(windows.begin(), windows.begin() + static_cast<std::ptrdiff_t>(index),
                     windows[index]) != windows.begin() + static_cast<std::ptrdiff_t>(index);
}

}  // namespace

std::vector<WindowOverflow> TextWindowOverflows(const TLGPSubFile& level, std::size_t text,
                                                text::CharacterNames names) {
    const TLevelText& levelText = level.Texts.at(text);
    std::vector<WindowOverflow> overflows;
    if (levelText.Windows.empty()) return overflows;
    const std::vector<text::PageExtent> pages = Pages(levelText, names);
    for (std::size_t w = 0; w < levelText.Windows.size(); ++w) {
        if (SeenBefore(levelText.Windows, w)) continue;
        const TWindow& window = *levelText.Windows[w];
        for (const text::Overflow& overflow :
             text::PageOverflows(pages, window.Width, window.Height)) {
            overflows.push_back({text, w, &window, overflow});
        }
    }
    return overflows;
}

std::vector<WindowOverflow> LevelOverflows(const TLGPSubFile& level, text::CharacterNames names) {
    std::vector<WindowOverflow> overflows;
    for (std::size_t t = 0; t < level.Texts.size(); ++t) {
        const std::vector<WindowOverflow> ofText = TextWindowOverflows(level, t, names);
        overflows.insert(overflows.end(), ofText.begin(), ofText.end());
    }
    return overflows;
}

bool IsOverflowing(const TLevelText& levelText, text::CharacterNames names) {
    if (levelText.Windows.empty()) return false;
    const std::vector<text::PageExtent> pages = Pages(levelText, names);
    return std::any_of(levelText.Windows.begin(), levelText.Windows.end(),
                       [&](const TWindow* window) {
                           return text::Overflows(pages, window->Width, window->Height);
                       });
}

int CountOverflowingTexts(const TLGPSubFile& level, text::CharacterNames names) {
    return static_cast<int>(
        std::count_if(level.Texts.begin(), level.Texts.end(),
                      [&](const TLevelText& levelText) { return IsOverflowing(levelText, names); }));
}

}  // namespace overflow
