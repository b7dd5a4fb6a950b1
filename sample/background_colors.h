#pragma once

#include <cstdint>

namespace sample {

// The light a level's background is painted in.
enum class Mood { Day, Dusk, Night, Snow, Desert };

// The 16 colour ramps of every background, by what they paint.
enum Ramp : std::uint8_t {
    kShadow,
    kSky,
    kHorizon,
    kDistant,
    kGround,
    kPath,
    kWall,
    kWall2,
    kRoof,
    kWood,
    kMetal,
    kFoliage,
    kRock,
    kWater,
    kLight,
    kAccent,
};
constexpr int kRampCount = 16;

// A colour as red, green and blue in [0, 1].
struct Color {
    double r, g, b;
};

// The colour with each channel multiplied by its factor.
Color Tint(Color c, double r, double g, double b);

// The base colour of a ramp in the given light.
Color MoodColor(Mood mood, int ramp);

// A colour in the game's 15-bit format (five bits each, red lowest), each channel clamped.
std::uint16_t GameColor(double r, double g, double b);

}  // namespace sample
