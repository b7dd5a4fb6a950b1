#include "text/window_overflow.h"

#include <algorithm>

namespace text {

std::vector<Overflow> PageOverflows(const std::vector<PageExtent>& pages, int width,
                                    int height) {
    std::vector<Overflow> overflows;
    const int room = LinesInWindow(height);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const PageExtent& extent = pages[page];
        const int number = static_cast<int>(page);
        if (extent.width > width) {
            overflows.push_back({number, OverflowKind::Width, extent.widestLine, extent.lines,
                                 extent.width, width});
        }
        if (extent.lines > room) {
            overflows.push_back({number, OverflowKind::Height, extent.widestLine, extent.lines,
                                 WindowHeightForLines(extent.lines), height});
        }
    }
    return overflows;
}

bool Overflows(const std::vector<PageExtent>& pages, int width, int height) {
    const int room = LinesInWindow(height);
    return std::any_of(pages.begin(), pages.end(), [&](const PageExtent& extent) {
        return extent.width > width || extent.lines > room;
    });
}

std::vector<Overflow> TextOverflows(std::string_view tagged, int width, int height,
                                    CharacterNames names, const GlyphAdvances& advances) {
    return PageOverflows(LayOutPages(tagged, advances, names), width, height);
}

std::string OverflowReason(const Overflow& overflow) {
    if (overflow.kind == OverflowKind::Width) {
        return "line " + std::to_string(overflow.line) + " is " + std::to_string(overflow.needed) +
               " px in a window of " + std::to_string(overflow.actual);
    }
    return "page " + std::to_string(overflow.page + 1) + ": " + std::to_string(overflow.lines) +
           " lines in a window for " + std::to_string(LinesInWindow(overflow.actual));
}

WindowSize NeededWindowSize(const std::vector<PageExtent>& pages) {
    WindowSize size{kPenLeft + kRightMargin, WindowHeightForLines(1)};
    for (const PageExtent& extent : pages) {
        size.width = std::max(size.width, extent.width);
        size.height = std::max(size.height, WindowHeightForLines(extent.lines));
    }
    return size;
}

}  // namespace text
