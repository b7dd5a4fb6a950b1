#pragma once

#include <vector>

#include "sample/sample_random.h"

namespace sample {

// Smooth noise in [0, 1): random values on a lattice of `cell` pixels, blended in between.
class LatticeNoise {
public:
    // Noise over a width x height picture, its lattice values drawn from `random`.
    LatticeNoise(int width, int height, int cell, SampleRandom& random);

    float At(int x, int y) const;
    // Adds weight x the noise to every pixel of a width x height picture, row by row.
    void AddTo(std::vector<float>& pixels, int width, int height, float weight) const;

private:
    float Smooth(int offset) const;

    int cell_;
    int columns_;
    std::vector<float> values_;
};

}  // namespace sample
