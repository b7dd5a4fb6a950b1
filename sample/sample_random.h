#pragma once

#include <cstddef>
#include <cstdint>

namespace sample {

// Deterministic pseudo-random numbers (splitmix64). The sample archive must come out byte for
// byte the same from the same seed, whatever standard library it is built with, and the std
// distributions differ between libraries, so every draw goes through this class.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}

    // A seed for an independent stream, from a parent seed and a label (a level index, say).
    static std::uint64_t Derive(std::uint64_t seed, std::uint64_t label);

    std::uint64_t Next();
    // Uniform in [0, bound); bound must be greater than 0.
    std::uint32_t Below(std::uint32_t bound);
    // Uniform in [low, high], both included. Throws std::invalid_argument when low > high.
    int Range(int low, int high);
    // Uniform in [0, 1).
    double Real();
    // Uniform in [low, high).
    double Real(double low, double high) { return low + (high - low) * Real(); }
    bool Chance(double probability) { return Real() < probability; }

    // One of the items, uniformly.
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(static_cast<std::uint32_t>(N))];
    }

private:
    std::uint64_t state_;
};

}  // namespace sample
