#pragma once

#include <cstdint>
#include <vector>

#include "sample/background_colors.h"
#include "sample/sample_random.h"

namespace sample {

// What a level's background shows; its light is a Mood.
enum class Scene { Street, Wilds, Interior, Industrial, Cave };

// A painted background as palette indices, in the game's colour format.
struct Painting {
    int width = 0;
    int height = 0;
    // Layer 1, width x height indices into palette 0.
    std::vector<std::uint8_t> back;
    // Layer 2 (things in front), indices into palette 1; 0 where nothing is drawn.
    std::vector<std::uint8_t> front;
    // 256 colours per palette, 15 bits each with red in bits 0-4; index 0 is black.
    std::vector<std::uint16_t> colors;
};

// Paints a recognisable scene (a street, a room, a cave...) the way the game's backgrounds are
// made: shapes in 16 colour ramps of 16 shades, with brush texture and grain, reduced to the
// palette with error diffusion. The result has the statistics of a painted picture, so its
// texture pages compress about as well as the game's.
class BackgroundPainter {
public:
    // The smallest picture the scenes are laid out for.
    static constexpr int kSmallestWidth = 320;
    static constexpr int kSmallestHeight = 96;

    // A painter for a picture of width x height pixels. Throws std::invalid_argument when it
    // is smaller than kSmallestWidth x kSmallestHeight.
    BackgroundPainter(int width, int height, SampleRandom& random);
    ~BackgroundPainter();
    BackgroundPainter(const BackgroundPainter&) = delete;
    BackgroundPainter& operator=(const BackgroundPainter&) = delete;

    // Paints the scene; palettes beyond the first two are lighting variants that tiles may use.
    Painting Paint(Scene scene, Mood mood, int paletteCount);

private:
    // How one shape is shaded: a ramp, a base shade (0 darkest, 15 lightest) at the shape's
    // top-left corner, gradients, a rounding that lightens the middle, the amplitude of the
    // brush texture and the grain (1 gives pixels a spread of 2.5 shades).
    struct Brush {
        int ramp = 0;
        double shade = 8;
        double slopeX = 0;
        double slopeY = 0;
        double bulgeX = 0;
        double bulgeY = 0;
        double texture = 0;
        double grain = 0;
    };
    // The continuous picture of one layer before it is reduced to the palette.
    struct Layer {
        std::vector<std::uint8_t> ramp;
        // In 256ths of a shade, so that the diffusion of errors runs on integers.
        std::vector<std::int16_t> shade;
        // Whether the pixel belongs to a rough surface, whose pixels now and then take the
        // shade of a neighbouring colour.
        std::vector<std::uint8_t> mottled;
    };

    template <typename Inside>
    void Fill(Layer& layer, int left, int top, int right, int bottom, const Brush& brush,
              Inside inside);
    void Rect(Layer& layer, int left, int top, int right, int bottom, const Brush& brush);
    void Ellipse(Layer& layer, int cx, int cy, int rx, int ry, const Brush& brush);
    void Triangle(Layer& layer, int ax, int ay, int bx, int by, int cx, int cy, const Brush& brush);
    // Fills from a ridge line (one top per column, as drawn by Ridge) down to `bottom`.
    void Skyline(Layer& layer, const std::vector<int>& tops, int bottom, const Brush& brush);
    // A ridge of hills or roofs around height `level`, varying by up to `amplitude`.
    std::vector<int> Ridge(int level, int amplitude, int wavelength, bool stepped);

    void PaintStreet();
    void PaintWilds();
    void PaintInterior();
    void PaintIndustrial();
    void PaintCave();
    void Tree(Layer& layer, int x, int groundY, int size);

    std::vector<std::uint8_t> Quantize(Layer& layer, bool transparentZero);
    std::vector<std::uint16_t> Palettes(Mood mood, int count);
    std::uint32_t NextBits();
    double Grain();

public:
    // The pixel buffers of a painting, handed from one painter to the next on a thread.
    struct Buffers {
        std::vector<float> noise;
        Layer back;
        Layer front;
    };

private:
    int width_;
    int height_;
    SampleRandom& random_;
    std::uint32_t grainState_;
    Buffers buffers_;
    std::vector<float>& noise_;
    Layer& back_;
    Layer& front_;
};

}  // namespace sample
