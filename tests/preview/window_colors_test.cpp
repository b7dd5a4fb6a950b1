#include "preview/window_colors.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

struct ReadCase {
    const char* digits;
    TWindowColors colors;
};

TEST(ColorString, ReadsClockwiseGroupsAndForgivesBadInput) {
    const ReadCase cases[] = {
        {"0058B0000050000020000080", preview::DefaultWindowColors},
        {"0102030405060A0B0C070809", {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12)}},
        // Short strings are padded with zeros.
        {"FF0000", {Rgb(255, 0, 0), 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        // Characters other than hexadecimal digits count as '0'.
        {"zz58B0000050000020000080", preview::DefaultWindowColors},
        {"ffeedd", {Rgb(255, 238, 221), 0, 0, 0}},
        // Only the first 24 characters count.
        {"0058B0000050000020000080FFFFFF", preview::DefaultWindowColors},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(preview::ReadColorString(c.digits), c.colors) << c.digits;
}

TEST(ColorString, WritesUpperCaseAndRoundTrips) {
    EXPECT_EQ(preview::WriteColorString(preview::DefaultWindowColors), "0058B0000050000020000080");
    EXPECT_EQ(
        preview::WriteColorString({Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12)}),
        "0102030405060A0B0C070809");
    EXPECT_EQ(preview::WriteColorString(preview::ReadColorString("abcdef")),
              "ABCDEF000000000000000000");
    const TWindowColors colors{Rgb(200, 1, 99), Rgb(0, 255, 16), Rgb(77, 66, 55), Rgb(9, 8, 7)};
    EXPECT_EQ(preview::ReadColorString(preview::WriteColorString(colors)), colors);
}

}  // namespace
