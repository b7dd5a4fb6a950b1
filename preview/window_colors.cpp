#include "preview/window_colors.h"

#include <array>

namespace preview {

namespace {

constexpr std::size_t kDigits = 24;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// The corners in the order of the string: clockwise from the top left.
std::array<std::uint32_t TWindowColors::*, 4> ClockwiseCorners() {
    return {&TWindowColors::TopLeft, &TWindowColors::TopRight, &TWindowColors::BottomRight,
            &TWindowColors::BottomLeft};
}

}  // namespace

TWindowColors ReadColorString(std::string_view digits) {
    std::array<int, kDigits> values{};
    for (std::size_t i = 0; i < kDigits && i < digits.size(); ++i) values[i] = HexValue(digits[i]);
    TWindowColors colors;
    std::size_t next = 0;
    for (const auto corner : ClockwiseCorners()) {
        std::uint32_t color = 0;
        // Red, green, blue in the string; red lowest in the colour value.
        for (int component = 0; component < 3; ++component, next += 2) {
            const auto value = static_cast<std::uint32_t>(values[next] * 16 + values[next + 1]);
            color |= value << (8 * component);
        }
        colors.*corner = color;
    }
    return colors;
}

std::string WriteColorString(const TWindowColors& colors) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    digits.reserve(kDigits);
    for (const auto corner : ClockwiseCorners()) {
        const std::uint32_t color = colors.*corner;
        for (int component = 0; component < 3; ++component) {
            const std::uint32_t value = (color >> (8 * component)) & 0xFF;
            digits += kHex[value >> 4];
            digits += kHex[value & 0xF];
        }
    }
    return digits;
}

}  // namespace preview
