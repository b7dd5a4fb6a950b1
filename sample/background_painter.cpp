#include "sample/background_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sample/lattice_noise.h"

namespace sample {
namespace {

constexpr std::uint8_t kEmpty = 0xFF;
constexpr int kShades = 16;
// Shades are held in 256ths.
constexpr int kUnit = 256;
// Chance, in 256ths, that a pixel of a rough surface takes the neighbouring ramp's colour:
// painted pictures vary in hue as well as in brightness from pixel to pixel.
constexpr unsigned kMottleChance = 64;
// A colour close to each ramp's, for the odd pixel of a rough surface.
constexpr std::array<std::uint8_t, 16> kNeighbourRamp = {
    kDistant, kHorizon, kSky,     kRock,   kPath,    kGround, kWall2,   kWall,
    kWood,    kRoof,    kDistant, kGround, kDistant, kSky,    kHorizon, kRoof,
};

// Buffers kept from one painting to the next: allocating them afresh for every level costs
// more in page faults than the painting itself. One shared pool rather than a set kept by
// each thread, whose destructor MinGW's thread library runs after the thread's storage is gone.
class SpareBuffers {
public:
    BackgroundPainter::Buffers Take() {
        const std::lock_guard lock(mutex_);
        if (spare_.empty()) return {};
        BackgroundPainter::Buffers buffers = std::move(spare_.back());
        spare_.pop_back();
        return buffers;
    }

    void Give(BackgroundPainter::Buffers buffers) {
        const std::lock_guard lock(mutex_);
        spare_.push_back(std::move(buffers));
    }

private:
    std::mutex mutex_;
    std::vector<BackgroundPainter::Buffers> spare_;
};

SpareBuffers& Spares() {
    static SpareBuffers spares;
    return spares;
}

}  // namespace

BackgroundPainter::BackgroundPainter(int width, int height, SampleRandom& random)
    : width_(width),
      height_(height),
      random_(random),
      grainState_(static_cast<std::uint32_t>(random.Next()) | 1u),
      buffers_(Spares().Take()),
      noise_(buffers_.noise),
      back_(buffers_.back),
      front_(buffers_.front) {
    if (width < kSmallestWidth || height < kSmallestHeight) {
        throw std::invalid_argument("a background must be at least " +
                                    std::to_string(kSmallestWidth) + " x " +
                                    std::to_string(kSmallestHeight) + " pixels");
    }
    // One brush texture for the whole picture, in (-1, 1): broad strokes with finer ones on top.
    noise_.assign(static_cast<std::size_t>(width) * height, -1.0f);
    LatticeNoise(width, height, 24, random).AddTo(noise_, width, height, 2 / 1.5f);
    LatticeNoise(width, height, 5, random).AddTo(noise_, width, height, 1 / 1.5f);
    for (Layer* layer : {&back_, &front_}) {
        layer->ramp.assign(noise_.size(), kEmpty);
        layer->shade.assign(noise_.size(), 0);
        layer->mottled.assign(noise_.size(), 0);
    }
}

std::uint32_t BackgroundPainter::NextBits() {
    // A xorshift: cheap enough for every pixel.
    grainState_ ^= grainState_ << 13;
    grainState_ ^= grainState_ >> 17;
    grainState_ ^= grainState_ << 5;
    return grainState_;
}

BackgroundPainter::~BackgroundPainter() { Spares().Give(std::move(buffers_)); }

double BackgroundPainter::Grain() {
    // Triangular noise with a standard deviation of 2.5 shades; brushes scale it.
    const std::uint32_t bits = NextBits();
    constexpr double kSpread = 2.5 * 2.449;  // a triangle on (-1, 1) has a deviation of 1/sqrt(6)
    return (((bits & 0xFFFF) + (bits >> 16)) / 65536.0 - 1.0) * kSpread;
}

template <typename Inside>
void BackgroundPainter::Fill(Layer& layer, int left, int top, int right, int bottom,
                             const Brush& brush, Inside inside) {
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double rx = std::max(1.0, (right - left) / 2.0);
    const double ry = std::max(1.0, (bottom - top) / 2.0);
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
        const double v = (y - cy) / ry;
        const double rowShade = brush.shade + brush.slopeY * (y - top) + brush.bulgeY * (1 - v * v);
        for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
            if (!inside(x, y)) continue;
            const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
            const double u = (x - cx) / rx;
            double shade = rowShade + brush.slopeX * (x - left) + brush.bulgeX * (1 - u * u) +
                           brush.texture * noise_[i];
            if (brush.grain > 0) shade += brush.grain * Grain();
            layer.ramp[i] = static_cast<std::uint8_t>(brush.ramp);
            layer.mottled[i] = brush.grain >= 0.8;
            layer.shade[i] = static_cast<std::int16_t>(std::clamp(shade, -100.0, 100.0) * kUnit);
        }
    }
}

void BackgroundPainter::Rect(Layer& layer, int left, int top, int right, int bottom,
                             const Brush& brush) {
    Fill(layer, left, top, right, bottom, brush, [](int, int) { return true; });
}

void BackgroundPainter::Ellipse(Layer& layer, int cx, int cy, int rx, int ry, const Brush& brush) {
    if (rx <= 0 || ry <= 0) return;
    Fill(layer, cx - rx, cy - ry, cx + rx + 1, cy + ry + 1, brush, [=](int x, int y) {
        const double dx = static_cast<double>(x - cx) / rx;
        const double dy = static_cast<double>(y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    });
}

void BackgroundPainter::Triangle(Layer& layer, int ax, int ay, int bx, int by, int cx, int cy,
                                 const Brush& brush) {
    const auto edge = [](int x0, int y0, int x1, int y1, int x, int y) {
        return static_cast<long>(x1 - x0) * (y - y0) - static_cast<long>(y1 - y0) * (x - x0);
    };
    const long area = edge(ax, ay, bx, by, cx, cy);
    if (area == 0) return;
    Fill(layer, std::min({ax, bx, cx}), std::min({ay, by, cy}), std::max({ax, bx, cx}) + 1,
         std::max({ay, by, cy}) + 1, brush, [=](int x, int y) {
             const long e0 = edge(ax, ay, bx, by, x, y);
             const long e1 = edge(bx, by, cx, cy, x, y);
             const long e2 = edge(cx, cy, ax, ay, x, y);
             return area > 0 ? e0 >= 0 && e1 >= 0 && e2 >= 0 : e0 <= 0 && e1 <= 0 && e2 <= 0;
         });
}

void BackgroundPainter::Skyline(Layer& layer, const std::vector<int>& tops, int bottom,
                                const Brush& brush) {
    const int highest = *std::min_element(tops.begin(), tops.end());
    Fill(layer, 0, highest, width_, bottom, brush, [&](int x, int y) { return y >= tops[x]; });
}

std::vector<int> BackgroundPainter::Ridge(int level, int amplitude, int wavelength, bool stepped) {
    std::vector<int> tops(width_);
    const LatticeNoise line(width_, 1, std::max(2, wavelength), random_);
    int step = level;
    for (int x = 0; x < width_; ++x) {
        const int top = level - static_cast<int>(amplitude * line.At(x, 0));
        // Roofs of far buildings change height only every so often.
        if (!stepped || x % 12 == 0) step = top;
        tops[x] = stepped ? step : top;
    }
    return tops;
}

void BackgroundPainter::Tree(Layer& layer, int x, int groundY, int size) {
    const int trunk = std::max(3, size / 6);
    Rect(layer, x - trunk / 2, groundY - size, x + trunk / 2 + 1, groundY,
         {.ramp = kWood, .shade = 5, .bulgeX = 3, .texture = 1.5, .grain = 1.0});
    for (int i = 0; i < 3; ++i) {
        const int cx = x + random_.Range(-size / 4, size / 4);
        const int cy = groundY - size + random_.Range(-size / 4, size / 6);
        const int r = size / 3 + random_.Range(0, size / 5);
        Ellipse(layer, cx, cy, r, r * 4 / 5,
                {.ramp = kFoliage,
                 .shade = 6 + i * 0.8,
                 .slopeY = -0.03,
                 .bulgeX = 2,
                 .bulgeY = 2,
                 .texture = 3.0,
                 .grain = 1.6});
    }
}

void BackgroundPainter::PaintStreet() {
    const int w = width_;
    const int h = height_;
    const int horizon = static_cast<int>(h * random_.Real(0.30, 0.45));
    Rect(back_, 0, 0, w, horizon,
         {.ramp = kSky,
          .shade = 4.0 + random_.Real() * 2,
          .slopeY = 7.0 / horizon,
          .texture = 0.8,
          .grain = 0.35});
    const int glow = std::max(8, horizon / 4);
    Rect(back_, 0, horizon - glow, w, horizon,
         {.ramp = kHorizon, .shade = 7, .slopeY = 4.0 / glow, .texture = 1.0, .grain = 0.5});
    Skyline(back_, Ridge(horizon, 60, 90, false), horizon + 4,
            {.ramp = kDistant, .shade = 6, .slopeY = 0.02, .texture = 1.5, .grain = 0.8});
    Skyline(back_, Ridge(horizon + 2, 50, 40, true), horizon + 6,
            {.ramp = kDistant, .shade = 4, .texture = 1.2, .grain = 0.7});
    Rect(back_, 0, horizon, w, h,
         {.ramp = kGround,
          .shade = 10,
          .slopeY = -3.0 / (h - horizon),
          .texture = 2.5,
          .grain = 1.4});
    const int vanishing = random_.Range(w / 4, w * 3 / 4);
    Triangle(
        back_, vanishing, horizon, vanishing - w * 3 / 5, h + h / 2, vanishing + w * 3 / 5,
        h + h / 2,
        {.ramp = kPath, .shade = 8, .slopeY = 3.0 / (h - horizon), .texture = 2.0, .grain = 1.1});

    const int buildings = random_.Range(w / 80 + 2, w / 50 + 3);
    for (int b = 0; b < buildings; ++b) {
        const int left = random_.Range(-40, w - 40);
        const int bw = random_.Range(50, 150);
        const int top = horizon - random_.Range(30, std::max(40, std::min(horizon - 10, 170)));
        const int bottom = horizon + random_.Range(8, 40);
        const Brush wall{.ramp = random_.Chance(0.5) ? kWall : kWall2,
                         .shade = random_.Real(7, 11),
                         .slopeX = random_.Real(-0.02, 0.02),
                         .texture = 1.5,
                         .grain = 0.9};
        Rect(back_, left, top, left + bw, bottom, wall);
        Triangle(back_, left - 6, top, left + bw + 6, top, left + bw / 2, top - bw / 3,
                 {.ramp = kRoof, .shade = 7, .slopeX = 0.02, .texture = 1.2, .grain = 0.8});
        for (int wy = top + 10; wy + 14 < bottom - 20; wy += 22) {
            for (int wx = left + 8; wx + 10 < left + bw - 6; wx += 20) {
                const bool lit = random_.Chance(0.4);
                Rect(back_, wx, wy, wx + 10, wy + 12,
                     {.ramp = lit ? kLight : kShadow,
                      .shade = lit ? 11.0 : 3.0,
                      .slopeY = 0.1,
                      .grain = 0.3});
            }
        }
        const int door = left + random_.Range(4, std::max(5, bw - 24));
        Rect(back_, door, bottom - 30, door + 18, bottom, {.ramp = kShadow, .shade = 1});
    }
    for (int t = random_.Range(0, 4); t > 0; --t) {
        const int x = random_.Range(0, w);
        const int ground = random_.Range(horizon + 10, h - 10);
        Tree(back_, x, ground, random_.Range(30, 70));
    }
    for (int p = random_.Range(1, 3); p > 0; --p) {
        const int x = random_.Range(10, w - 10);
        const int foot = random_.Range(h * 3 / 4, h);
        Rect(front_, x, foot - 90, x + 4, foot,
             {.ramp = kMetal, .shade = 5, .bulgeX = 4, .grain = 0.5});
        Ellipse(front_, x + 2, foot - 92, 7, 6,
                {.ramp = kLight, .shade = 11, .bulgeX = 3, .bulgeY = 3, .grain = 0.4});
    }
    for (int c = random_.Range(1, 4); c > 0; --c) {
        const int x = random_.Range(0, w - 30);
        const int foot = random_.Range(h * 2 / 3, h);
        Ellipse(front_, x, foot - 14, 12, 15,
                {.ramp = kWood, .shade = 6, .bulgeX = 4, .texture = 1.5, .grain = 1.0});
    }
}

void BackgroundPainter::PaintWilds() {
    const int w = width_;
    const int h = height_;
    const int horizon = static_cast<int>(h * random_.Real(0.28, 0.45));
    Rect(back_, 0, 0, w, horizon,
         {.ramp = kSky, .shade = 5, .slopeY = 7.0 / horizon, .texture = 0.9, .grain = 0.35});
    Skyline(back_, Ridge(horizon, horizon * 2 / 3, 120, false), horizon + 10,
            {.ramp = kDistant, .shade = 8, .slopeY = -0.02, .texture = 1.6, .grain = 0.7});
    Skyline(back_, Ridge(horizon + 20, 50, 60, false), horizon + 30,
            {.ramp = kRock, .shade = 7, .slopeX = 0.004, .texture = 2.4, .grain = 1.2});
    Rect(back_, 0, horizon + 24, w, h,
         {.ramp = kGround, .shade = 9, .slopeY = -2.0 / h, .texture = 3.0, .grain = 1.5});
    if (random_.Chance(0.6)) {
        const int x = random_.Range(0, w);
        Triangle(back_, x, horizon + 24, x - w / 2, h + 40, x + w / 3, h + 40,
                 {.ramp = kWater, .shade = 8, .slopeY = 0.02, .texture = 1.0, .grain = 0.5});
    }
    for (int t = random_.Range(w / 60, w / 25); t > 0; --t) {
        const int x = random_.Range(0, w);
        const int ground = random_.Range(horizon + 30, h);
        Tree(back_, x, ground, random_.Range(24, 80));
    }
    for (int r = random_.Range(2, 7); r > 0; --r) {
        const int x = random_.Range(0, w);
        const int y = random_.Range(horizon + 30, h);
        const int rx = random_.Range(8, 30);
        Ellipse(back_, x, y, rx, rx * 2 / 3,
                {.ramp = kRock, .shade = 7, .bulgeX = 3, .bulgeY = 2, .texture = 2, .grain = 1.2});
    }
    const int x = random_.Chance(0.5) ? random_.Range(0, 30) : random_.Range(w - 30, w);
    Rect(front_, x - 10, 0, x + 10, h,
         {.ramp = kWood, .shade = 4, .bulgeX = 4, .texture = 2, .grain = 1.2});
    for (int b = random_.Range(1, 4); b > 0; --b) {
        const int bx = random_.Range(0, w);
        const int by = h - random_.Range(0, 20);
        const int rx = random_.Range(20, 40);
        Ellipse(front_, bx, by, rx, rx * 3 / 5,
                {.ramp = kFoliage, .shade = 5, .bulgeY = 3, .texture = 3, .grain = 1.6});
    }
}

void BackgroundPainter::PaintInterior() {
    const int w = width_;
    const int h = height_;
    const int ceiling = static_cast<int>(h * random_.Real(0.08, 0.16));
    const int floor = static_cast<int>(h * random_.Real(0.55, 0.70));
    const int wallRamp = random_.Chance(0.5) ? kWall : kWall2;
    Rect(back_, 0, 0, w, floor,
         {.ramp = wallRamp, .shade = 9, .slopeY = -0.006, .texture = 1.2, .grain = 0.8});
    Rect(back_, 0, 0, w, ceiling,
         {.ramp = kShadow, .shade = 4, .slopeY = 3.0 / ceiling, .texture = 0.8, .grain = 0.5});
    for (int x = random_.Range(20, 60); x < w; x += random_.Range(60, 110)) {
        Rect(back_, x, ceiling, x + 6, floor,
             {.ramp = kWood, .shade = 6, .bulgeX = 3, .texture = 1, .grain = 0.7});
    }
    Rect(back_, 0, floor - 8, w, floor, {.ramp = kWood, .shade = 5, .texture = 1, .grain = 0.6});
    const int floorRamp = random_.Chance(0.6) ? kWood : kPath;
    Rect(
        back_, 0, floor, w, h,
        {.ramp = floorRamp, .shade = 7, .slopeY = 5.0 / (h - floor), .texture = 1.5, .grain = 1.0});
    for (int y = floor + 10; y < h; y += random_.Range(10, 18)) {
        Rect(back_, 0, y, w, y + 1, {.ramp = floorRamp, .shade = 4, .grain = 0.6});
    }
    // A window with the sky behind it, a doorway, shelves and pictures on the wall.
    const int wx = random_.Range(0, w - 80);
    const int wy = ceiling + random_.Range(10, 30);
    Rect(back_, wx - 4, wy - 4, wx + 64, wy + 54, {.ramp = kWood, .shade = 6, .grain = 0.6});
    Rect(back_, wx, wy, wx + 60, wy + 50,
         {.ramp = kSky, .shade = 8, .slopeY = 0.1, .texture = 0.6, .grain = 0.3});
    Rect(back_, wx + 28, wy, wx + 32, wy + 50, {.ramp = kWood, .shade = 6, .grain = 0.4});
    const int door = random_.Range(0, w - 50);
    Rect(back_, door - 4, floor - 76, door + 44, floor, {.ramp = kWood, .shade = 5, .grain = 0.5});
    Rect(back_, door, floor - 72, door + 40, floor, {.ramp = kShadow, .shade = 1});
    for (int s = random_.Range(1, 3); s > 0; --s) {
        const int sx = random_.Range(0, w - 70);
        const int sy = random_.Range(ceiling + 16, std::max(ceiling + 16, floor - 40));
        Rect(back_, sx, sy, sx + 70, sy + 5, {.ramp = kWood, .shade = 7, .grain = 0.7});
        for (int bx = sx + 2; bx < sx + 66; bx += random_.Range(5, 9)) {
            const Brush book{.ramp = random_.Chance(0.5) ? kAccent : kMetal,
                             .shade = random_.Real(5, 10),
                             .bulgeX = 2,
                             .grain = 0.5};
            Rect(back_, bx, sy - random_.Range(8, 16), bx + 4, sy, book);
        }
    }
    for (int p = random_.Range(0, 2); p > 0; --p) {
        const int px = random_.Range(0, w - 40);
        const int py = random_.Range(ceiling + 10, std::max(ceiling + 10, floor - 40));
        Rect(back_, px, py, px + 36, py + 28, {.ramp = kWood, .shade = 4, .grain = 0.5});
        Rect(back_, px + 3, py + 3, px + 33, py + 25,
             {.ramp = kFoliage, .shade = 7, .slopeX = 0.1, .texture = 2.5, .grain = 1.4});
    }
    Ellipse(back_, random_.Range(w / 4, w * 3 / 4), (floor + h) / 2, w / 6, (h - floor) / 4,
            {.ramp = kAccent, .shade = 7, .bulgeX = 2, .bulgeY = 2, .texture = 2, .grain = 1});
    const int tx = random_.Range(0, w - 90);
    const int ty = random_.Range(floor + 10, std::max(floor + 11, h - 40));
    Rect(front_, tx, ty, tx + 90, ty + 10,
         {.ramp = kWood, .shade = 8, .slopeY = -0.3, .texture = 1.2, .grain = 0.8});
    for (const int leg : {tx + 4, tx + 80}) {
        Rect(front_, leg, ty + 10, leg + 6, ty + 34, {.ramp = kWood, .shade = 5, .grain = 0.6});
    }
    if (random_.Chance(0.7)) {
        const int px = random_.Chance(0.5) ? random_.Range(0, 20) : random_.Range(w - 40, w - 20);
        Rect(front_, px, 0, px + 24, h,
             {.ramp = kWall2, .shade = 5, .bulgeX = 5, .texture = 1.2, .grain = 0.8});
    }
    // Rooms often stand in black, the parts of the screen the camera never shows.
    if (random_.Chance(0.25)) {
        const int margin = random_.Range(1, 4) * 16;
        Rect(back_, 0, 0, margin, h, {.ramp = kShadow, .shade = 0});
        Rect(back_, w - margin, 0, w, h, {.ramp = kShadow, .shade = 0});
    }
}

void BackgroundPainter::PaintIndustrial() {
    const int w = width_;
    const int h = height_;
    Rect(back_, 0, 0, w, h,
         {.ramp = kSky, .shade = 2, .slopeY = 4.0 / h, .texture = 1.2, .grain = 0.6});
    Skyline(back_, Ridge(h / 2, h / 3, 40, true), h,
            {.ramp = kDistant, .shade = 4, .texture = 1.4, .grain = 0.8});
    const int plate = random_.Range(h / 8, h / 4);
    Rect(back_, 0, 0, w, plate,
         {.ramp = kMetal, .shade = 5, .slopeY = -0.02, .texture = 2.0, .grain = 1.0});
    for (int x = random_.Range(0, 40); x < w; x += random_.Range(40, 90)) {
        Rect(back_, x, plate, x + 8, plate + 20, {.ramp = kMetal, .shade = 3, .grain = 0.6});
    }
    for (int p = random_.Range(2, 6); p > 0; --p) {
        const int x = random_.Range(0, w);
        const int r = random_.Range(5, 16);
        Rect(back_, x - r, plate, x + r, h,
             {.ramp = kMetal, .shade = 4, .bulgeX = 6, .texture = 1.0, .grain = 0.7});
    }
    for (int p = random_.Range(1, 4); p > 0; --p) {
        const int y = random_.Range(plate + 20, h - 40);
        const int r = random_.Range(4, 10);
        Rect(back_, 0, y - r, w, y + r,
             {.ramp = kMetal, .shade = 5, .bulgeY = 6, .texture = 0.8, .grain = 0.6});
    }
    const int deck = random_.Range(h * 3 / 5, h * 4 / 5);
    Rect(back_, 0, deck, w, h,
         {.ramp = kMetal, .shade = 6, .slopeY = 0.01, .texture = 1.2, .grain = 0.9});
    for (int y = deck + 4; y < h; y += 6) {
        Rect(back_, 0, y, w, y + 2, {.ramp = kMetal, .shade = 3, .grain = 0.5});
    }
    for (int j = random_.Range(1, 4); j > 0; --j) {
        // Heaps of scrap on the deck.
        const Brush scrap{.ramp = random_.Chance(0.5) ? kRock : kMetal,
                          .shade = 5,
                          .bulgeY = 3,
                          .texture = 4,
                          .grain = 2};
        const int x = random_.Range(0, w);
        const int y = deck + random_.Range(0, 20);
        const int rx = random_.Range(20, 60);
        Ellipse(back_, x, y, rx, rx / 2, scrap);
    }
    for (int l = random_.Range(2, 8); l > 0; --l) {
        const Brush lamp{.ramp = random_.Chance(0.3) ? kAccent : kLight,
                         .shade = 10,
                         .bulgeX = 3,
                         .bulgeY = 3,
                         .grain = 0.3};
        const int x = random_.Range(0, w);
        Ellipse(back_, x, random_.Range(plate, deck), 4, 4, lamp);
    }
    const int rail = deck - random_.Range(20, 30);
    Rect(front_, 0, rail, w, rail + 3, {.ramp = kMetal, .shade = 8, .bulgeY = 2, .grain = 0.4});
    for (int x = random_.Range(0, 30); x < w; x += 40) {
        Rect(front_, x, rail, x + 3, deck, {.ramp = kMetal, .shade = 7, .bulgeX = 2, .grain = 0.4});
    }
}

void BackgroundPainter::PaintCave() {
    const int w = width_;
    const int h = height_;
    Rect(back_, 0, 0, w, h,
         {.ramp = kRock, .shade = 6, .slopeY = 2.0 / h, .texture = 3.5, .grain = 1.5});
    Ellipse(back_, random_.Range(w / 4, w * 3 / 4), h / 3, w / 4, h / 4,
            {.ramp = kShadow, .shade = 2, .bulgeX = 2, .bulgeY = 2, .texture = 1, .grain = 0.6});
    Skyline(back_, Ridge(h * 7 / 10, h / 6, 50, false), h,
            {.ramp = kGround, .shade = 8, .slopeY = -0.01, .texture = 2.5, .grain = 1.2});
    for (int s = random_.Range(3, 9); s > 0; --s) {
        const int x = random_.Range(0, w);
        const int half = random_.Range(6, 20);
        Triangle(back_, x - half, 0, x + half, 0, x, random_.Range(30, h / 2),
                 {.ramp = kRock, .shade = 8, .bulgeX = 3, .texture = 2, .grain = 1});
    }
    for (int c = random_.Range(0, 5); c > 0; --c) {
        const int x = random_.Range(0, w);
        const int y = random_.Range(h / 2, h);
        const int half = random_.Range(4, 10);
        const int tipX = x + random_.Range(-6, 6);
        const int tipY = y - random_.Range(20, 50);
        const Brush crystal{
            .ramp = random_.Chance(0.5) ? kLight : kAccent, .shade = 10, .bulgeX = 3, .grain = 0.5};
        Triangle(back_, x - half, y, x + half, y, tipX, tipY, crystal);
    }
    if (random_.Chance(0.5)) {
        const int x = random_.Range(0, w);
        Ellipse(back_, x, h - random_.Range(10, 40), w / 5, h / 12,
                {.ramp = kWater, .shade = 7, .slopeX = 0.01, .texture = 1, .grain = 0.4});
    }
    for (int s = random_.Range(1, 3); s > 0; --s) {
        const int x = random_.Range(0, w);
        const int half = random_.Range(10, 24);
        Triangle(front_, x - half, h, x + half, h, x, h - random_.Range(60, 140),
                 {.ramp = kRock, .shade = 5, .bulgeX = 4, .texture = 2.5, .grain = 1.2});
    }
}

std::vector<std::uint8_t> BackgroundPainter::Quantize(Layer& layer, bool transparentZero) {
    // Error diffusion to the right and downwards, but only between pixels of one ramp, so that
    // the outlines of shapes stay sharp and flat areas stay flat.
    std::vector<std::uint8_t> out(layer.ramp.size(), 0);
    const std::size_t width = static_cast<std::size_t>(width_);
    for (std::size_t row = 0; row < out.size(); row += width) {
        const bool lastRow = row + width == out.size();
        for (std::size_t i = row; i < row + width; ++i) {
            const std::uint8_t ramp = layer.ramp[i];
            if (ramp == kEmpty) continue;
            const int shade = layer.shade[i];
            const int level = (std::clamp(shade, 0, (kShades - 1) * kUnit) + kUnit / 2) / kUnit;
            const int half = std::clamp(shade - level * kUnit, -kUnit, kUnit) / 2;
            if (i + 1 < row + width && layer.ramp[i + 1] == ramp) layer.shade[i + 1] += half;
            if (!lastRow && layer.ramp[i + width] == ramp) layer.shade[i + width] += half;
            const bool mottle = layer.mottled[i] && (NextBits() & 0xFF) < kMottleChance;
            int index = (mottle ? kNeighbourRamp[ramp] : ramp) * kShades + level;
            // In a front layer index 0 means "nothing here".
            if (transparentZero && index == 0) index = 1;
            out[i] = static_cast<std::uint8_t>(index);
        }
    }
    return out;
}

std::vector<std::uint16_t> BackgroundPainter::Palettes(Mood mood, int count) {
    std::array<Color, 16> ramps;
    for (int r = 0; r < 16; ++r) {
        // Every level has its own shade of each colour.
        const double red = random_.Real(0.9, 1.1);
        const double green = random_.Real(0.9, 1.1);
        const double blue = random_.Real(0.9, 1.1);
        ramps[r] = Tint(MoodColor(mood, r), red, green, blue);
    }
    std::vector<std::uint16_t> colors;
    for (int p = 0; p < count; ++p) {
        // Palette 1 (the front layer's) is a little warmer; the others are lighting variants.
        const double light = p == 0 ? 1.0 : p == 1 ? 1.04 : 0.6 + 0.15 * (p % 4);
        const double warm = p == 1 ? 1.05 : 1.0;
        for (int r = 0; r < 16; ++r) {
            for (int s = 0; s < kShades; ++s) {
                const double k = (0.08 + 0.92 * s / (kShades - 1)) * light;
                const double white = s > 11 ? (s - 11) * 0.06 : 0.0;
                const Color c = ramps[r];
                colors.push_back(
                    GameColor(c.r * k * warm + white, c.g * k + white, c.b * k / warm + white));
            }
        }
        colors[p * 256] = 0;
    }
    return colors;
}

Painting BackgroundPainter::Paint(Scene scene, Mood mood, int paletteCount) {
    switch (scene) {
        case Scene::Street:
            PaintStreet();
            break;
        case Scene::Wilds:
            PaintWilds();
            break;
        case Scene::Interior:
            PaintInterior();
            break;
        case Scene::Industrial:
            PaintIndustrial();
            break;
        case Scene::Cave:
            PaintCave();
            break;
    }
    Painting painting;
    painting.width = width_;
    painting.height = height_;
    painting.back = Quantize(back_, false);
    painting.front = Quantize(front_, true);
    painting.colors = Palettes(mood, paletteCount);
    return painting;
}

}  // namespace sample
