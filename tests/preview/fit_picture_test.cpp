#include "preview/fit_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A picture of 15-bit pixels, row by row.
QImage Picture555(int width, int height, const std::vector<std::uint16_t>& pixels) {
    QImage picture(width, height, QImage::Format_RGB555);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = pixels[static_cast<std::size_t>(y * width + x)];
    }
    return picture;
}

// The red component of every pixel of a 24-bit picture, row by row.
std::vector<int> Reds(const QImage& picture) {
    std::vector<int> reds;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) reds.push_back(picture.constScanLine(y)[3 * x]);
    }
    return reds;
}

struct SizeCase {
    QSize source;
    QSize box;
    QSize fitted;  // empty for a null picture
};

TEST(FitPicture, KeepsTheProportionsRoundingHalvesToEven) {
    const SizeCase cases[] = {
        // Normal size, 287 wide: the height decides (2.23 against 4.8).
        {{640, 480}, {287, 100}, {133, 100}},
        // Very large: the width decides, and the picture is enlarged; 143.5 becomes 144.
        {{200, 100}, {287, 200}, {287, 144}},
        // 2.5 becomes 2.
        {{2, 1}, {5, 3}, {5, 2}},
        // Equal ratios: the height decides.
        {{100, 50}, {200, 100}, {200, 100}},
        {{320, 240}, {320, 240}, {320, 240}},
        // A side that rounds to 0, a null picture and an empty box give a null picture.
        {{1000, 1}, {100, 100}, {}},
        {{0, 0}, {287, 100}, {}},
        {{640, 480}, {0, 100}, {}},
        {{640, 480}, {287, -5}, {}},
    };
    for (const SizeCase& c : cases) {
        QImage picture = c.source.isEmpty() ? QImage() : QImage(c.source, QImage::Format_RGB555);
        if (!picture.isNull()) picture.fill(0);
        preview::FitPicture(picture, c.box.width(), c.box.height());
        if (c.fitted.isEmpty()) {
            EXPECT_TRUE(picture.isNull()) << c.source.width() << "x" << c.source.height();
        } else {
            EXPECT_EQ(picture.size(), c.fitted) << c.source.width() << "x" << c.source.height();
            EXPECT_EQ(picture.format(), QImage::Format_RGB888);
        }
    }
}

TEST(FitPicture, WidensFiveBitComponentsSoThatWhiteStaysWhite) {
    const QImage expanded =
        preview::ExpandTo24Bits(Picture555(5, 1, {0x7FFF, 0x4210, 0x7C00, 0x001F, 0x0000}));
    ASSERT_EQ(expanded.format(), QImage::Format_RGB888);
    const std::uint8_t* line = expanded.constScanLine(0);
    const std::vector<int> rgb(line, line + 15);
    EXPECT_EQ(rgb, (std::vector<int>{255, 255, 255, 132, 132, 132, 255, 0, 0, 0, 0, 255, 0, 0, 0}));
}

TEST(FitPicture, AveragesNineNeighboursWithTheEdgesClamped) {
    // Red at the top-left corner only: it counts twice per side at the edge.
    QImage picture = Picture555(3, 3, {0x7C00, 0, 0, 0, 0, 0, 0, 0, 0});
    preview::FitPicture(picture, 3, 3);
    EXPECT_EQ(Reds(picture), (std::vector<int>{113, 56, 0, 56, 28, 0, 0, 0, 0}));
    // Green and blue are averaged alike.
    QImage white = Picture555(1, 1, {0x7FFF});
    preview::FitPicture(white, 2, 2);
    const std::uint8_t* line = white.constScanLine(1);
    EXPECT_EQ(std::vector<int>(line, line + 6), (std::vector<int>{255, 255, 255, 255, 255, 255}));
}

TEST(FitPicture, SamplesAtTheTruncatedAccumulatedStep) {
    // 2 x 1 into 5 x 2: steps of 0.4 sample columns 0, 0, 0, 1, 1.
    QImage small = Picture555(2, 1, {0x7C00, 0});
    preview::FitPicture(small, 5, 3);
    EXPECT_EQ(Reds(small), (std::vector<int>{170, 170, 170, 85, 85, 170, 170, 170, 85, 85}));
    // 3 x 1 into 30 x 10: ten steps of 0.1 add up to just below 1, so column 10 still samples
    // column 0 (170), where 10 x 0.1 would sample column 1 (85).
    QImage wide = Picture555(3, 1, {0x7C00, 0, 0});
    preview::FitPicture(wide, 30, 20);
    ASSERT_EQ(wide.size(), QSize(30, 10));
    std::vector<int> row(30, 0);
    std::fill(row.begin(), row.begin() + 11, 170);
    std::fill(row.begin() + 11, row.begin() + 20, 85);
    const std::vector<int> reds = Reds(wide);
    EXPECT_EQ(std::vector<int>(reds.begin(), reds.begin() + 30), row);
}

}  // namespace
