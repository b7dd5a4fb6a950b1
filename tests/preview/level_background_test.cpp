#include "preview/level_background.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lgp/format_error.h"

namespace {

struct TileSpec {
    int x = 0;  // from the picture's centre
    int y = 0;
    int sourceX = 0;
    int sourceY = 0;
    int palette = 0;
    int page = 0;
    int hidden = 0;
};

// Sources in page 0: at (0, 0) index 1 + (16 r + c) mod 255 at row r, column c (1 again at
// the bottom right); at (16, 0) all 0; at (32, 0) all 2.
constexpr TileSpec kPattern{-20, -10, 0, 0};
constexpr TileSpec kZeros{-20, -10, 16, 0};
constexpr TileSpec kTwos{-20, -10, 32, 0};

// A field file with only what the background reads: the palette section at 42 (palette 0
// maps index i to colour i), the background section at 570 (its base B at 574), and the
// first `pageBytes` bytes of page 0.
struct FieldContents {
    int width = 40;
    int height = 20;
    std::vector<TileSpec> layer1{};
    std::vector<TileSpec> layer2{};
    int pageBytes = 16 * 256;
    std::uint16_t color2 = 2;  // palette 0's colour for index 2
};

constexpr std::size_t kBase = 574;

std::vector<std::uint8_t> MakeFieldFile(const FieldContents& field) {
    const std::size_t n1 = field.layer1.size();
    const std::size_t n2 = field.layer2.size();
    const std::size_t pages = kBase + 88 + 52 * (n1 + n2);
    std::vector<std::uint8_t> file(pages + 6 + field.pageBytes, 0);
    const auto put = [&](std::size_t at, int value) {
        file[at] = static_cast<std::uint8_t>(value & 0xFF);
        file[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    };
    const auto tile = [&](std::size_t at, const TileSpec& t) {
        const std::pair<int, int> fields[] = {{2, t.x},        {4, t.y},        {10, t.sourceX},
                                              {12, t.sourceY}, {22, t.palette}, {32, t.page},
                                              {34, t.hidden}};
        for (const auto& [offset, value] : fields) put(at + offset, value);
    };
    put(18, 42);
    put(38, kBase - 4);
    for (int i = 0; i < 256; ++i) put(58 + 2 * i, i == 2 ? field.color2 : i);
    put(kBase + 40, field.width);
    put(kBase + 42, field.height);
    put(kBase + 44, static_cast<int>(n1));
    put(kBase + 57 + 52 * n1, static_cast<int>(n2));
    for (std::size_t i = 0; i < n1; ++i) tile(kBase + 50 + 52 * i, field.layer1[i]);
    for (std::size_t i = 0; i < n2; ++i) tile(kBase + 77 + 52 * (n1 + i), field.layer2[i]);
    for (int v = 0; v < 16; ++v) {
        for (int u = 0; u < 48 && 256 * v + u < field.pageBytes; ++u) {
            file[pages + 6 + 256 * v + u] =
                static_cast<std::uint8_t>(u < 16   ? 1 + (16 * v + u) % 255
                                          : u < 32 ? 0
                                                   : 2);
        }
    }
    return file;
}

// A pixel that is not black.
struct Drawn {
    int x;
    int y;
    std::uint16_t value;
    bool operator==(const Drawn&) const = default;
};

std::vector<Drawn> DrawnPixels(const QImage& picture) {
    std::vector<Drawn> drawn;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint16_t*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (line[x] != 0) drawn.push_back({x, y, line[x]});
        }
    }
    return drawn;
}

bool Has(const std::vector<Drawn>& drawn, const Drawn& pixel) {
    return std::find(drawn.begin(), drawn.end(), pixel) != drawn.end();
}

QImage Build(const FieldContents& field) {
    return preview::BuildLevelBackground(MakeFieldFile(field));
}

struct DrawCase {
    const char* what;
    FieldContents field;
    std::size_t count;         // pixels drawn
    std::vector<Drawn> among;  // some of them (index i shows as red i: i << 10)
};

TEST(LevelBackground, DrawsTilesInFileOrderThroughThePalette) {
    const DrawCase cases[] = {
        {"no tiles", {.width = 5, .height = 3}, 0, {}},
        {"hidden tiles",
         {.layer1 = {{-20, -10, 0, 0, 0, 0, 1}}, .layer2 = {{0, 0, 0, 0, 0, 0, 7}}},
         0,
         {}},
        {"the top left",
         {.width = 41, .height = 21, .layer1 = {{-20, -10}}},
         256,
         {{0, 0, 0x0400}, {15, 0, 0x4000}, {0, 1, 0x4400}, {0, 15, 0x44E0}, {15, 15, 0x0400}}},
        {"later in a layer", {.layer1 = {kPattern, kTwos}}, 256, {{3, 0, 0x0800}}},
        {"earlier in a layer", {.layer1 = {kTwos, kPattern}}, 256, {{3, 0, 0x1000}}},
        {"layer 2 over layer 1", {.layer1 = {kPattern}, .layer2 = {kTwos}}, 256, {{3, 0, 0x0800}}},
        {"all zero over a tile", {.layer1 = {kPattern}, .layer2 = {kZeros}}, 256, {{3, 0, 0x1000}}},
        // Width 20: columns 10 to 19, then 0 to 5 of the next row.
        {"past the right edge",
         {.width = 20, .height = 40, .layer1 = {{0, -20}}},
         256,
         {{10, 0, 0x0400}, {19, 0, 0x2800}, {0, 1, 0x2C00}, {5, 1, 0x4000}, {10, 1, 0x4400}}},
        // Rows 12 to 27 of 20: pixels from row 7, column 10 on are dropped.
        {"past the last pixel",
         {.width = 20, .height = 20, .layer1 = {{0, 2}}},
         7 * 16 + 10,
         {{10, 19, 0x4460}, {19, 19, 0x6860}}},
        {"before the first pixel",
         {.width = 20, .height = 20, .layer1 = {{-10, -25}}},
         16,
         {{0, 0, 0x44E0}}},
        {"a page cut short", {.layer1 = {kPattern}, .pageBytes = 4 * 256 + 3}, 4 * 16 + 3, {}},
        {"palette 20 past the end", {.layer1 = {{-20, -10, 0, 0, 20}}}, 0, {}},
        {"page 400 past the end", {.layer1 = {{-20, -10, 0, 0, 0, 400}}}, 0, {}},
        {"page -1 before the start", {.layer1 = {{-20, -10, 0, 0, 0, -1}}}, 0, {}},
        {"source before the start", {.layer1 = {{-20, -10, -30000, 0}}}, 0, {}},
        // Palette -1 starts 454 bytes before the file: its entries 227 to 255 are the file's
        // first bytes, where those of indices 236 and 246 hold the sections' positions.
        {"palette -1", {.layer1 = {{-20, -10, 0, 0, -1}}}, 2, {{11, 14, 0x2820}, {5, 15, 0x6A20}}},
    };
    for (const DrawCase& c : cases) {
        const QImage picture = Build(c.field);
        ASSERT_EQ(picture.size(), QSize(c.field.width, c.field.height)) << c.what;
        EXPECT_EQ(picture.format(), QImage::Format_RGB555) << c.what;
        const std::vector<Drawn> drawn = DrawnPixels(picture);
        EXPECT_EQ(drawn.size(), c.count) << c.what;
        for (const Drawn& pixel : c.among) {
            EXPECT_TRUE(Has(drawn, pixel)) << c.what << ": " << pixel.x << ", " << pixel.y;
        }
    }
}

TEST(LevelBackground, ExchangesRedAndBlueAndClearsBit15) {
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {0x001F, 0x7C00}, {0x7C00, 0x001F}, {0x03E0, 0x03E0}, {0xFC00, 0x001F},
        {0x8421, 0x0421}, {0x7FFF, 0x7FFF}, {0x1234, 0x5224},
    };
    for (const auto& [stored, shown] : cases) {
        const QImage picture = Build({.layer1 = {kTwos}, .color2 = stored});
        EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(picture.constScanLine(0))[0], shown)
            << std::hex << stored;
    }
}

TEST(LevelBackground, AnEmptySideGivesANullPictureAndAHugeOneAnError) {
    EXPECT_TRUE(Build({.width = 0, .height = 240, .layer1 = {kPattern}}).isNull());
    EXPECT_TRUE(Build({.width = 320, .height = 0, .layer1 = {kPattern}}).isNull());
    EXPECT_THROW(Build({.width = 4097, .height = 4096}), lgp::FormatError);
}

TEST(LevelBackground, AFileTooShortForTheHeaderOrTheTilesIsAnError) {
    const std::vector<std::uint8_t> file =
        MakeFieldFile({.layer1 = {kPattern, kPattern}, .layer2 = {kPattern}});
    const std::pair<std::size_t, std::string> cases[] = {
        {20, "no room for the palette section's position (4 bytes at position 18 of a 20-byte"},
        {41, "no room for the background section's position"},
        {kBase + 45, "no room for the background's size (6 bytes at position 614 of"},
        {kBase + 57 + 104 + 1, "no room for layer 2's tile count"},
        {kBase + 50 + 60, "no room for layer 2's tile count"},
        {kBase + 77 + 104 + 51, "no room for layer 2's tiles (52 bytes at position 755 of"},
    };
    for (const auto& [size, message] : cases) {
        try {
            preview::BuildLevelBackground(std::span(file).first(size));
            ADD_FAILURE() << "no error for " << size << " bytes";
        } catch (const lgp::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    // Without any texture page the picture stays black.
    EXPECT_EQ(preview::BuildLevelBackground(std::span(file).first(kBase + 88 + 3 * 52)).size(),
              QSize(40, 20));
}

}  // namespace
