#include "sample/background_sections.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "lzs/hash_stream.h"
#include "sample/background_painter.h"
#include "tests/sample/sample_reading.h"

namespace {

using sample::Painting;
using sample::SampleRandom;
using sample_test::Bytes;
using sample_test::U16;

// Draws the background sections as the level preview does: layer 1 then layer 2, tiles with
// their offset-34 field set skipped, index 0 transparent, red and blue as the game stores them.
std::vector<std::uint16_t> Render(const sample::BackgroundSections& sections) {
    const Bytes& b = sections.background;
    const Bytes& q = sections.palette;
    const int width = static_cast<int>(U16(b, 40));
    const int height = static_cast<int>(U16(b, 42));
    const std::size_t back = U16(b, 44);
    const std::size_t front = U16(b, 57 + 52 * back);
    const std::size_t t = 88 + 52 * (back + front);
    std::vector<std::uint16_t> picture(static_cast<std::size_t>(width) * height, 0);
    const auto draw = [&](std::size_t tile) {
        if (U16(b, tile + 34) != 0) return;
        const int x = static_cast<std::int16_t>(U16(b, tile + 2)) + width / 2;
        const int y = static_cast<std::int16_t>(U16(b, tile + 4)) + height / 2;
        const std::size_t page = U16(b, tile + 32);
        const std::size_t source =
            t + 6 + 65542 * page + 256 * U16(b, tile + 12) + U16(b, tile + 10);
        for (int r = 0; r < 16; ++r) {
            for (int c = 0; c < 16; ++c) {
                const std::uint8_t index = b.at(source + 256 * r + c);
                if (index == 0) continue;
                picture.at((y + r) * width + x + c) =
                    static_cast<std::uint16_t>(U16(q, 12 + 2 * (256 * U16(b, tile + 22) + index)));
            }
        }
    };
    for (std::size_t i = 0; i < back; ++i) draw(50 + 52 * i);
    for (std::size_t i = 0; i < front; ++i) draw(77 + 52 * back + 52 * i);
    return picture;
}

Painting SmallPainting() {
    Painting painting;
    painting.width = 48;
    painting.height = 32;
    painting.back.resize(48 * 32);
    painting.front.assign(48 * 32, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 48; ++x) {
            // Tiles (0, 0) and (2, 0) are alike, so are (0, 1) and (2, 1); (1, 1) is empty.
            const int column = x / 16;
            const bool empty = column == 1 && y >= 16;
            painting.back[y * 48 + x] =
                empty ? 0
                      : static_cast<std::uint8_t>(column == 1 ? 40 + x % 7 : 1 + (x % 16 + y) % 5);
        }
    }
    for (int y = 20; y < 26; ++y) painting.front[y * 48 + 30] = 99;
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < 256; ++i)
            painting.colors.push_back(static_cast<std::uint16_t>(i + 1000 * p));
    }
    painting.colors[0] = 0;
    return painting;
}

TEST(BackgroundTest, SectionsDrawBackThePaintingInTheMiddleOfTheScreen) {
    const Painting painting = SmallPainting();
    SampleRandom random(1);
    const sample::BackgroundSections sections =
        sample::MakeBackgroundSections(painting, 64, 240, random);
    EXPECT_EQ(U16(sections.background, 40), 48u);
    EXPECT_EQ(U16(sections.background, 42), 240u);
    EXPECT_EQ(sections.backTiles, 5);  // the empty tile is left out
    EXPECT_GE(sections.frontTiles, 1);
    EXPECT_EQ(sections.pages, 1);

    const std::vector<std::uint16_t> picture = Render(sections);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 48; ++x) {
            std::uint16_t expected = 0;
            if (y >= 64 && y < 96) {
                const std::size_t i = static_cast<std::size_t>(y - 64) * 48 + x;
                expected = painting.front[i] != 0 ? painting.colors[256 + painting.front[i]]
                                                  : painting.colors[painting.back[i]];
            }
            ASSERT_EQ(picture[y * 48 + x], expected) << x << ", " << y;
        }
    }
}

TEST(BackgroundTest, AlikeTilesShareOneSlotOfTheTexturePage) {
    const Painting painting = SmallPainting();
    SampleRandom random(1);
    const sample::BackgroundSections sections =
        sample::MakeBackgroundSections(painting, 0, 32, random);
    const Bytes& b = sections.background;
    std::set<std::pair<int, int>> sources;
    for (int i = 0; i < sections.backTiles; ++i) {
        sources.emplace(U16(b, 50 + 52 * i + 10), U16(b, 50 + 52 * i + 12));
    }
    EXPECT_EQ(sources.size(), 3u);
}

TEST(BackgroundTest, EveryScenePaintsBothLayersWithTheGamesTransparentIndex) {
    using sample::Mood;
    using sample::Scene;
    for (const Scene scene :
         {Scene::Street, Scene::Wilds, Scene::Interior, Scene::Industrial, Scene::Cave}) {
        SampleRandom random(static_cast<std::uint64_t>(scene) + 20);
        sample::BackgroundPainter painter(320, 192, random);
        const Painting painting = painter.Paint(scene, Mood::Day, 3);
        ASSERT_EQ(painting.back.size(), 320u * 192u);
        ASSERT_EQ(painting.colors.size(), 3u * 256u);
        EXPECT_EQ(painting.colors[0], 0);
        const std::set<std::uint8_t> colors(painting.back.begin(), painting.back.end());
        EXPECT_GT(colors.size(), 60u) << static_cast<int>(scene);
        const auto drawn = std::count_if(painting.front.begin(), painting.front.end(),
                                         [](std::uint8_t index) { return index != 0; });
        EXPECT_GT(drawn, 0) << static_cast<int>(scene);
        EXPECT_LT(drawn, static_cast<long>(painting.front.size() / 2)) << static_cast<int>(scene);
        // Painted pictures compress, but not much: their pages are most of a level.
        const double ratio = static_cast<double>(lzs::CompressHashedStream(painting.back).size()) /
                             painting.back.size();
        EXPECT_GT(ratio, 0.55) << static_cast<int>(scene);
        EXPECT_LT(ratio, 0.95) << static_cast<int>(scene);
    }
}

TEST(BackgroundTest, EverySceneFitsPicturesFromTheSmallestSizeUp) {
    using sample::BackgroundPainter;
    for (int seed = 0; seed < 40; ++seed) {
        for (const auto& [width, height] :
             {std::pair(BackgroundPainter::kSmallestWidth, BackgroundPainter::kSmallestHeight),
              std::pair(640, 672), std::pair(336, 112)}) {
            for (int scene = 0; scene < 5; ++scene) {
                SampleRandom random(static_cast<std::uint64_t>(seed));
                BackgroundPainter painter(width, height, random);
                EXPECT_NO_THROW(
                    painter.Paint(static_cast<sample::Scene>(scene), sample::Mood::Dusk, 2))
                    << scene << " " << width << " x " << height;
            }
        }
    }
    SampleRandom random(1);
    EXPECT_THROW(BackgroundPainter(320, 80, random), std::invalid_argument);
}

}  // namespace
