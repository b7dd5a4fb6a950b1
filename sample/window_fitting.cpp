#include "sample/window_fitting.h"

#include <vector>

#include "lgp/field_parser.h"
#include "lgp/field_rebuilder.h"
#include "overflow/level_overflow.h"
#include "overflow/window_fit.h"
#include "text/text_layout.h"

namespace sample {
namespace {

constexpr int kMostNarrowing = 24;

// Makes one windowed text of the level overflow its first window; nothing when no text has a
// window.
void Overflow(TLGPSubFile& level, SampleRandom& random) {
    std::vector<TWindow*> windows;
    for (const TLevelText& levelText : level.Texts) {
        if (!levelText.Windows.empty()) windows.push_back(levelText.Windows.front());
    }
    if (windows.empty()) return;
    TWindow& window = *windows[random.Below(static_cast<std::uint32_t>(windows.size()))];
    // A window of one line keeps it: losing it would leave a window too small to show any.
    if (random.Chance(0.5) || window.Height < text::WindowHeightForLines(2)) {
        window.Width = static_cast<std::uint16_t>(window.Width - random.Range(1, kMostNarrowing));
    } else {
        window.Height = static_cast<std::uint16_t>(window.Height - text::kLineHeight);
    }
}

}  // namespace

Overflowing FitWindows(std::vector<std::uint8_t>& decoded, bool overflowing, SampleRandom& random) {
    TLGPSubFile level;
    lgp::ParseFieldFile(level, decoded);
    int changed = overflow::FitLevelWindows(level, text::CharacterNames::Default, false);
    if (overflowing) {
        Overflow(level, random);
        ++changed;
    }
    Overflowing overflown;
    for (std::size_t text = 0; text < level.Texts.size(); ++text) {
        const auto index = static_cast<int>(text);
        if (overflow::IsOverflowing(level.Texts[text], text::CharacterNames::Default)) {
            overflown.defaultNames.push_back(index);
        }
        if (overflow::IsOverflowing(level.Texts[text], text::CharacterNames::Widest)) {
            overflown.widestNames.push_back(index);
        }
    }
    if (changed > 0) decoded = lgp::RebuildFieldFile(level, decoded);
    return overflown;
}

}  // namespace sample
