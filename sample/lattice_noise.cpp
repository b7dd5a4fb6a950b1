#include "sample/lattice_noise.h"

#include <cstddef>

namespace sample {

LatticeNoise::LatticeNoise(int width, int height, int cell, SampleRandom& random)
    : cell_(cell), columns_(width / cell + 2), values_((height / cell + 2) * columns_) {
    for (float& value : values_) value = static_cast<float>(random.Real());
}

float LatticeNoise::At(int x, int y) const {
    const float* row = &values_[(y / cell_) * columns_ + x / cell_];
    const float fx = Smooth(x % cell_);
    const float top = row[0] + (row[1] - row[0]) * fx;
    const float bottom = row[columns_] + (row[columns_ + 1] - row[columns_]) * fx;
    return top + (bottom - top) * Smooth(y % cell_);
}

void LatticeNoise::AddTo(std::vector<float>& pixels, int width, int height, float weight) const {
    std::vector<float> blend(cell_);
    for (int i = 0; i < cell_; ++i) blend[i] = Smooth(i);
    for (int y = 0; y < height; ++y) {
        const float fy = blend[y % cell_];
        const float* top = &values_[(y / cell_) * columns_];
        const float* bottom = top + columns_;
        float* out = &pixels[static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            const int ix = x / cell_;
            const float fx = blend[x % cell_];
            const float upper = top[ix] + (top[ix + 1] - top[ix]) * fx;
            const float lower = bottom[ix] + (bottom[ix + 1] - bottom[ix]) * fx;
            out[x] += weight * (upper + (lower - upper) * fy);
        }
    }
}

float LatticeNoise::Smooth(int offset) const {
    const float t = static_cast<float>(offset) / cell_;
    return t * t * (3 - 2 * t);
}

}  // namespace sample
