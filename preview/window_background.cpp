#include "preview/window_background.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace preview {

namespace {

std::int64_t Component(std::uint32_t color, int component) {
    return (color >> (8 * component)) & 0xFF;
}

std::int64_t FloorDivide(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t quotient = numerator / denominator;
    return quotient * denominator > numerator ? quotient - 1 : quotient;
}

// One colour component along a row: round((start + x step) / divisor), kept as a whole part
// and a remainder so that each pixel costs two additions and is exactly rounded.
class Ramp {
public:
    Ramp() = default;
    Ramp(std::int64_t start, std::int64_t step, std::int64_t divisor)
        : value_(FloorDivide(start, divisor)),
          remainder_(start - value_ * divisor),
          stepValue_(FloorDivide(step, divisor)),
          stepRemainder_(step - stepValue_ * divisor),
          divisor_(divisor) {}

    int Value() const { return static_cast<int>(value_); }
    void Advance() {
        value_ += stepValue_;
        remainder_ += stepRemainder_;
        if (remainder_ >= divisor_) {
            ++value_;
            remainder_ -= divisor_;
        }
    }

private:
    std::int64_t value_ = 0;
    std::int64_t remainder_ = 0;
    std::int64_t stepValue_ = 0;
    std::int64_t stepRemainder_ = 0;
    std::int64_t divisor_ = 1;
};

}  // namespace

void FillWindowBackground(QImage& picture, const TWindowColors& colors) {
    const std::int64_t w = picture.width();
    const std::int64_t h = picture.height();
    if (w <= 0 || h <= 0 || picture.depth() != 32) return;
    // In units of 1 / (2 W H), so that adding W H before flooring rounds to the nearest value.
    const std::int64_t divisor = 2 * w * h;
    for (std::int64_t y = 0; y < h; ++y) {
        // On the diagonal's right (x H >= y W) lies the triangle (top left, top right, bottom
        // right): c = TL + (TR - TL) x / W + (BR - TR) y / H. On its left the triangle (top left,
        // bottom right, bottom left): c = TL + (BL - TL) y / H + (BR - BL) x / W.
        const std::int64_t split = std::min(w, (y * w + h - 1) / h);
        std::array<Ramp, 3> upper;
        std::array<Ramp, 3> lower;
        for (int c = 0; c < 3; ++c) {
            const std::int64_t tl = Component(colors.TopLeft, c);
            const std::int64_t tr = Component(colors.TopRight, c);
            const std::int64_t bl = Component(colors.BottomLeft, c);
            const std::int64_t br = Component(colors.BottomRight, c);
            // The upper ramp starts at the split, the lower one at x = 0.
            const std::int64_t upperStep = 2 * (tr - tl) * h;
            const std::int64_t lowerStep = 2 * (br - bl) * h;
            upper[c] = Ramp(2 * (tl * w * h + (br - tr) * y * w) + w * h + split * upperStep,
                            upperStep, divisor);
            lower[c] = Ramp(2 * (tl * w * h + (bl - tl) * y * w) + w * h, lowerStep, divisor);
        }
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(static_cast<int>(y)));
        const auto shade = [line](std::array<Ramp, 3>& ramp, std::int64_t from, std::int64_t to) {
            for (std::int64_t x = from; x < to; ++x) {
                line[x] = qRgb(ramp[0].Value(), ramp[1].Value(), ramp[2].Value());
                for (Ramp& component : ramp) component.Advance();
            }
        };
        shade(lower, 0, split);
        shade(upper, split, w);
    }
}

}  // namespace preview
