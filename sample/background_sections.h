#pragma once

#include <cstdint>
#include <vector>

#include "sample/background_painter.h"
#include "sample/sample_random.h"

namespace sample {

// The palette and background sections of a field file, without their 4-byte length fields.
struct BackgroundSections {
    std::vector<std::uint8_t> palette;
    std::vector<std::uint8_t> background;
    int pages = 0;
    int backTiles = 0;
    int frontTiles = 0;
};

// Cuts a painting into 16 x 16 tiles, stores each different tile once in 256 x 256 texture
// pages of one byte per pixel, and lays out both sections as the level preview reads them:
// layer 1 from the painting's back, layer 2 from its front plus a few tiles of other states
// that are not drawn. The painting stands `top` rows below the top of a picture `height`
// rows high; the rows around it stay black.
BackgroundSections MakeBackgroundSections(const Painting& painting, int top, int height,
                                          SampleRandom& random);

}  // namespace sample
