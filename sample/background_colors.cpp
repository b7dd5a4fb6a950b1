#include "sample/background_colors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sample {
namespace {

// Base colour of each ramp in daylight, in ramp order.
constexpr std::array<Color, kRampCount> kDaylight = {{
    {0.30, 0.30, 0.34},  // shadow
    {0.38, 0.56, 0.92},  // sky
    {0.96, 0.82, 0.62},  // horizon
    {0.48, 0.54, 0.64},  // distant
    {0.56, 0.46, 0.32},  // ground
    {0.64, 0.58, 0.48},  // path
    {0.82, 0.72, 0.58},  // wall
    {0.62, 0.52, 0.46},  // wall2
    {0.64, 0.28, 0.22},  // roof
    {0.52, 0.34, 0.18},  // wood
    {0.56, 0.60, 0.64},  // metal
    {0.26, 0.52, 0.22},  // foliage
    {0.52, 0.50, 0.46},  // rock
    {0.20, 0.42, 0.62},  // water
    {1.00, 0.92, 0.62},  // light
    {0.74, 0.18, 0.16},  // accent
}};

}  // namespace

Color Tint(Color c, double r, double g, double b) { return {c.r * r, c.g * g, c.b * b}; }

Color MoodColor(Mood mood, int ramp) {
    const Color c = kDaylight[ramp];
    switch (mood) {
        case Mood::Day:
            return c;
        case Mood::Dusk:
            if (ramp == kSky) return {0.62, 0.36, 0.52};
            if (ramp == kHorizon) return {1.00, 0.62, 0.30};
            return ramp == kLight ? c : Tint(c, 1.05, 0.86, 0.78);
        case Mood::Night:
            if (ramp == kSky) return {0.10, 0.14, 0.30};
            if (ramp == kHorizon) return {0.22, 0.26, 0.46};
            if (ramp == kAccent) return {0.30, 0.92, 0.56};  // mako glow
            return ramp == kLight ? c : Tint(c, 0.52, 0.58, 0.78);
        case Mood::Snow:
            if (ramp == kGround || ramp == kPath) return {0.86, 0.90, 0.98};
            if (ramp == kSky) return {0.70, 0.80, 0.94};
            if (ramp == kFoliage) return {0.16, 0.34, 0.28};
            return Tint(c, 0.86, 0.94, 1.12);
        case Mood::Desert:
            if (ramp == kGround || ramp == kPath) return {0.88, 0.70, 0.44};
            if (ramp == kRock || ramp == kDistant) return {0.78, 0.50, 0.32};
            if (ramp == kSky) return {0.62, 0.72, 0.88};
            return Tint(c, 1.06, 0.96, 0.84);
    }
    return c;
}

std::uint16_t GameColor(double r, double g, double b) {
    const auto channel = [](double value) {
        return static_cast<std::uint16_t>(std::lround(std::clamp(value, 0.0, 1.0) * 31));
    };
    return static_cast<std::uint16_t>(channel(r) | (channel(g) << 5) | (channel(b) << 10));
}

}  // namespace sample
