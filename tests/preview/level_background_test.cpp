#include "preview/level_background.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// A field file with only what the background needs: the two section positions of the
// header, a palette section and a background section whose page 0 holds `pageRows` rows.
// Page 0's tile at (0, 0) has index 1 + (16 r + c) mod 255 at row r and column c (1 to 255,
// and 1 again at the bottom right); the tile at (16, 0)
// is all 0, the one at (32, 0) all 2. Palette 0 maps every index i to colour i.
struct FieldSpec {
    int width = 40;
    int height = 20;
    std::vector<TileSpec> layer1{};
    std::vector<TileSpec> layer2{};
    std::vector<std::uint16_t> palette0 = [] {
        std::vector<std::uint16_t> colors(256);
        for (int i = 0; i < 256; ++i) colors[i] = static_cast<std::uint16_t>(i);
        return colors;
    }();
    int pageRows = 16;
};

// Positions of the sections in MakeFieldFile's output.
constexpr std::size_t kBackgroundBase = 42 + 4 + 12 + 512 + 4;

class Writer {
public:
    void U16(int value) {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
    void U32(std::uint32_t value) {
        U16(static_cast<int>(value & 0xFFFF));
        U16(static_cast<int>(value >> 16));
    }
    void Zeros(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
    void Tile(const TileSpec& tile) {
        const std::size_t start = bytes.size();
        Zeros(52);
        const auto put = [&](std::size_t offset, int value) {
            bytes[start + offset] = static_cast<std::uint8_t>(value & 0xFF);
            bytes[start + offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        };
        put(2, tile.x);
        put(4, tile.y);
        put(10, tile.sourceX);
        put(12, tile.sourceY);
        put(22, tile.palette);
        put(32, tile.page);
        put(34, tile.hidden);
    }

    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> MakeFieldFile(const FieldSpec& spec) {
    Writer out;
    out.Zeros(42);
    // The palette section at 42: length, 12 header bytes, one palette.
    out.U32(12 + 512);
    out.Zeros(12);
    for (const std::uint16_t color : spec.palette0) out.U16(color);
    // The background section.
    out.U32(0);
    out.Zeros(40);
    out.U16(spec.width);
    out.U16(spec.height);
    out.U16(static_cast<int>(spec.layer1.size()));
    out.Zeros(4);
    for (const TileSpec& tile : spec.layer1) out.Tile(tile);
    out.Zeros(7);
    out.U16(static_cast<int>(spec.layer2.size()));
    out.Zeros(18);
    for (const TileSpec& tile : spec.layer2) out.Tile(tile);
    out.Zeros(11 + 6);
    for (int v = 0; v < spec.pageRows; ++v) {
        for (int u = 0; u < 256; ++u) {
            const int index =
                v >= 16 ? 0 : u < 16 ? 1 + (16 * v + u) % 255 : u >= 32 && u < 48 ? 2 : 0;
            out.bytes.push_back(static_cast<std::uint8_t>(index));
        }
    }
    Writer header;
    header.Zeros(18);
    header.U32(42);
    header.Zeros(16);
    header.U32(static_cast<std::uint32_t>(kBackgroundBase - 4));
    std::copy(header.bytes.begin(), header.bytes.end(), out.bytes.begin());
    return out.bytes;
}

std::uint16_t Pixel(const QImage& picture, int x, int y) {
    return reinterpret_cast<const std::uint16_t*>(picture.constScanLine(y))[x];
}

// The pixels that are not black, as (x, y, value) triples in row order.
struct Drawn {
    int x;
    int y;
    std::uint16_t value;
    bool operator==(const Drawn&) const = default;
};

std::vector<Drawn> DrawnPixels(const QImage& picture) {
    std::vector<Drawn> drawn;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (Pixel(picture, x, y) != 0) drawn.push_back({x, y, Pixel(picture, x, y)});
        }
    }
    return drawn;
}

QImage Build(const FieldSpec& spec) { return BuildLevelBackground(MakeFieldFile(spec)); }

TEST(LevelBackground, WithoutTilesThePictureIsBlackInTheBackgroundsSize) {
    const QImage picture = Build({.width = 5, .height = 3});
    ASSERT_EQ(picture.size(), QSize(5, 3));
    EXPECT_EQ(picture.format(), QImage::Format_RGB555);
    EXPECT_TRUE(DrawnPixels(picture).empty());
}

TEST(LevelBackground, AHiddenTileIsNotDrawn) {
    EXPECT_TRUE(DrawnPixels(Build({.layer1 = {{-20, -10, 0, 0, 0, 0, 1}}})).empty());
    EXPECT_TRUE(DrawnPixels(Build({.layer2 = {{-20, -10, 0, 0, 0, 0, 7}}})).empty());
}

TEST(LevelBackground, ATileAtMinusHalfTheSizeStartsAtTheTopLeftPixel) {
    const QImage picture = Build({.width = 41, .height = 21, .layer1 = {{-20, -10}}});
    // Index 1 + 16 r + c, red and blue exchanged: index 1 is red 1, shown as 0x0400.
    EXPECT_EQ(Pixel(picture, 0, 0), 0x0400);
    EXPECT_EQ(Pixel(picture, 15, 0), 0x4000);   // index 16
    EXPECT_EQ(Pixel(picture, 0, 1), 0x4400);    // index 17
    EXPECT_EQ(Pixel(picture, 0, 15), 0x44E0);   // index 241: red 17, green 7
    EXPECT_EQ(Pixel(picture, 15, 15), 0x0400);  // index 1
    EXPECT_EQ(Pixel(picture, 16, 0), 0);
    EXPECT_EQ(Pixel(picture, 0, 16), 0);
    EXPECT_EQ(DrawnPixels(picture).size(), 256u);
}

TEST(LevelBackground, LaterTilesOverwriteEarlierOnesAndIndexZeroIsTransparent) {
    const TileSpec twos{-20, -10, 32, 0};
    const TileSpec pattern{-20, -10, 0, 0};
    const TileSpec zeros{-20, -10, 16, 0};
    // Layer 2 comes after layer 1 and, within a layer, file order decides.
    EXPECT_EQ(Pixel(Build({.layer1 = {pattern, twos}}), 3, 0), 0x0800);
    EXPECT_EQ(Pixel(Build({.layer1 = {twos, pattern}}), 3, 0), 0x1000);
    EXPECT_EQ(Pixel(Build({.layer1 = {pattern}, .layer2 = {twos}}), 3, 0), 0x0800);
    // An all-zero tile leaves what lies below it.
    const QImage under = Build({.layer1 = {pattern}});
    EXPECT_EQ(DrawnPixels(Build({.layer1 = {pattern}, .layer2 = {zeros}})), DrawnPixels(under));
    EXPECT_EQ(DrawnPixels(Build({.layer1 = {pattern, zeros}})), DrawnPixels(under));
}

TEST(LevelBackground, RedAndBlueAreExchangedAndBit15Cleared) {
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {0x001F, 0x7C00}, {0x7C00, 0x001F}, {0x03E0, 0x03E0}, {0xFC00, 0x001F}, {0x8421, 0x0421},
        {0x7FFF, 0x7FFF}, {0x1234, 0x5224},
    };
    for (const auto& [stored, shown] : cases) {
        FieldSpec spec{.layer1 = {{-20, -10, 32, 0}}};
        spec.palette0[2] = stored;
        EXPECT_EQ(Pixel(Build(spec), 0, 0), shown) << std::hex << stored;
    }
}

TEST(LevelBackground, PixelsPastTheRightEdgeGoOnInTheNextRow) {
    // Width 20: a tile at column 10 covers 10..19, then 0..5 of the row below.
    const QImage picture = Build({.width = 20, .height = 40, .layer1 = {{0, -20}}});
    EXPECT_EQ(Pixel(picture, 10, 0), 0x0400);  // index 1
    EXPECT_EQ(Pixel(picture, 19, 0), 0x2800);  // index 10
    EXPECT_EQ(Pixel(picture, 0, 1), 0x2C00);   // index 11
    EXPECT_EQ(Pixel(picture, 5, 1), 0x4000);   // index 16
    EXPECT_EQ(Pixel(picture, 6, 1), 0);
    EXPECT_EQ(Pixel(picture, 10, 1), 0x4400);  // index 17, the tile's second row
    EXPECT_EQ(DrawnPixels(picture).size(), 256u);
}

TEST(LevelBackground, PixelsBeforeTheFirstOrAfterTheLastAreDropped) {
    // Rows 12 to 27 of a 20 x 20 picture: rows 20 and later are dropped.
    const QImage below = Build({.width = 20, .height = 20, .layer1 = {{0, 2}}});
    EXPECT_EQ(Pixel(below, 10, 19), 0x4460);  // index 113, row 7
    EXPECT_EQ(Pixel(below, 19, 19), 0x6860);  // index 122
    EXPECT_EQ(DrawnPixels(below).size(), 7u * 16u + 10u);
    // Rows -15 to 0: only the tile's last row is drawn, at the top.
    const QImage above = Build({.width = 20, .height = 20, .layer1 = {{-10, -25}}});
    EXPECT_EQ(Pixel(above, 0, 0), 0x44E0);  // index 241
    EXPECT_EQ(DrawnPixels(above).size(), 16u);
}

TEST(LevelBackground, BytesAndColorsOutsideTheFileAreSkipped) {
    // Only the first 5 rows of the texture page are in the file.
    FieldSpec cut{.layer1 = {{-20, -10}}};
    std::vector<std::uint8_t> file = MakeFieldFile(cut);
    file.resize(file.size() - 256 * 16 + 256 * 4 + 3);
    EXPECT_EQ(DrawnPixels(BuildLevelBackground(file)).size(), 4u * 16u + 3u);
    // Palette 20 and page 400 lie past the end, page -1 and source x -30000 before the start.
    for (const TileSpec& tile :
         std::vector<TileSpec>{{-20, -10, 0, 0, 20}, {-20, -10, 0, 0, 0, 400},
                               {-20, -10, 0, 0, 0, -1}, {-20, -10, -30000, 0}}) {
        EXPECT_TRUE(DrawnPixels(Build({.layer1 = {tile}})).empty())
            << tile.palette << ", " << tile.page << ", " << tile.sourceX;
    }
    // Palette -1 starts 454 bytes before the file: its entries 227 to 255 are the file's
    // first bytes, of which three are not 0 (the palette's position 42 for index 236, the
    // background's 570 for index 246, the palette's length 524 for index 248).
    const std::vector<Drawn> header = {{11, 14, 0x2820}, {5, 15, 0x6A20}, {7, 15, 0x3200}};
    EXPECT_EQ(DrawnPixels(Build({.layer1 = {{-20, -10, 0, 0, -1}}})), header);
}

TEST(LevelBackground, AnEmptySideGivesANullPicture) {
    EXPECT_TRUE(Build({.width = 0, .height = 240, .layer1 = {{0, 0}}}).isNull());
    EXPECT_TRUE(Build({.width = 320, .height = 0, .layer1 = {{0, 0}}}).isNull());
}

TEST(LevelBackground, AFileTooShortForTheHeaderOrTheTilesIsAnError) {
    const std::vector<std::uint8_t> file =
        MakeFieldFile({.layer1 = {{0, 0}, {0, 0}}, .layer2 = {{0, 0}}});
    const std::size_t b = kBackgroundBase;
    const std::pair<std::size_t, std::string> cases[] = {
        {20, "no room for the palette section's position (4 bytes at position 18 of a 20-byte"},
        {41, "no room for the background section's position"},
        {b + 45, "no room for the background's size (6 bytes at position "},
        {b + 57 + 104 + 1, "no room for layer 2's tile count"},
        {b + 50 + 60, "no room for layer 2's tile count"},
        {b + 77 + 104 + 51, "no room for layer 2's tiles (52 bytes at position "},
    };
    for (const auto& [size, message] : cases) {
        const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<long>(size));
        try {
            BuildLevelBackground(cut);
            ADD_FAILURE() << "no error for " << size << " bytes";
        } catch (const lgp::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    // Tile lists complete, and the texture pages missing altogether, are not an error.
    const std::vector<std::uint8_t> noPages(file.begin(), file.begin() + b + 88 + 3 * 52);
    EXPECT_EQ(BuildLevelBackground(noPages).size(), QSize(40, 20));
}

TEST(LevelBackground, ASizeBeyondTheLimitIsAnErrorNotAnAllocation) {
    try {
        Build({.width = 65535, .height = 65535});
        ADD_FAILURE() << "no error";
    } catch (const lgp::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("65535 x 65535 pixels"), std::string::npos);
    }
    EXPECT_EQ(Build({.width = 4096, .height = 4096}).size(), QSize(4096, 4096));
}

}  // namespace
