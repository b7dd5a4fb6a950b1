#include "sample/sample_random.h"

#include <stdexcept>

namespace sample {
namespace {

std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

std::uint64_t SampleRandom::Derive(std::uint64_t seed, std::uint64_t label) {
    return Mix(Mix(seed) ^ (label * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull));
}

std::uint64_t SampleRandom::Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    return Mix(state_);
}

std::uint32_t SampleRandom::Below(std::uint32_t bound) {
    // Multiply-shift: the bias for the small bounds used here is far below anything visible.
    return static_cast<std::uint32_t>(((Next() >> 32) * bound) >> 32);
}

int SampleRandom::Range(int low, int high) {
    if (high < low) throw std::invalid_argument("empty random range");
    return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low) + 1));
}

double SampleRandom::Real() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

}  // namespace sample
