#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The four corner colours of a dialogue window, each 0x00BBGGRR (red in the lowest byte).
struct TWindowColors {
    std::uint32_t TopLeft = 0;
    std::uint32_t TopRight = 0;
    std::uint32_t BottomLeft = 0;
    std::uint32_t BottomRight = 0;

    bool operator==(const TWindowColors&) const = default;
};

namespace preview {

// The game's own window colours: (0, 88, 176), (0, 0, 80), (0, 0, 128) and (0, 0, 32).
inline constexpr TWindowColors DefaultWindowColors{0xB05800, 0x500000, 0x800000, 0x200000};

// The colours of a colour string: 24 hexadecimal digits, one RRGGBB group for each corner
// clockwise from the top left (TopLeft, TopRight, BottomRight, BottomLeft). Never fails: a
// short string is padded with '0', only the first 24 characters count, and a character that
// is not a hexadecimal digit reads as '0'.
TWindowColors ReadColorString(std::string_view digits);

// The colour string of colors, with upper-case digits.
std::string WriteColorString(const TWindowColors& colors);

}  // namespace preview
