#include "preview/window_background.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kFraction = 16;
constexpr std::int64_t kOne = std::int64_t{1} << kFraction;

std::int64_t Component(std::uint32_t colour, int component) {
    return (colour >> (8 * component)) & 0xFF;
}

// A colour component in fixed point along one row of one triangle: value(x) = start + x step.
struct Ramp {
    std::int64_t start;
    std::int64_t step;
};

int Round(std::int64_t fixed) {
    return static_cast<int>(std::clamp<std::int64_t>((fixed + kOne / 2) >> kFraction, 0, 255));
}

}  // namespace

void FillWindowBackground(QImage& picture, const TWindowColors& colors) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y) {
        // On the diagonal's right (x H >= y W) lies the triangle (top left, top right, bottom
        // right): c = TL + (TR - TL) x / W + (BR - TR) y / H. On its left the triangle (top left,
        // bottom right, bottom left): c = TL + (BL - TL) y / H + (BR - BL) x / W.
        const int split =
            static_cast<int>(std::min<std::int64_t>(w, (std::int64_t{y} * w + h - 1) / h));
        std::array<Ramp, 3> upper{};
        std::array<Ramp, 3> lower{};
        for (int c = 0; c < 3; ++c) {
            const std::int64_t tl = Component(colors.TopLeft, c);
            const std::int64_t tr = Component(colors.TopRight, c);
            const std::int64_t bl = Component(colors.BottomLeft, c);
            const std::int64_t br = Component(colors.BottomRight, c);
            upper[c] = {tl * kOne + (br - tr) * kOne * y / h, (tr - tl) * kOne / w};
            lower[c] = {tl * kOne + (bl - tl) * kOne * y / h, (br - bl) * kOne / w};
        }
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const auto shade = [line](const std::array<Ramp, 3>& ramp, int from, int to) {
            for (int x = from; x < to; ++x) {
                line[x] = qRgb(Round(ramp[0].start + x * ramp[0].step),
                               Round(ramp[1].start + x * ramp[1].step),
                               Round(ramp[2].start + x * ramp[2].step));
            }
        };
        shade(lower, 0, split);
        shade(upper, split, w);
    }
}
