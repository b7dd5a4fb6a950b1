#include "tests/lzs/test_data.h"

#include <algorithm>

namespace lzs_test {
namespace {

const char* const kWords[] = {"the",   "Cloud", "Barret", "Tifa",  "Aeris", "Shinra", "reactor",
                              "Midgar", "we",   "have",   "to",    "go",    "now",    "...",
                              "!",     "?",     "and",    "you",   "Mako",  "train"};

void AppendRandom(Bytes& out, std::size_t size, std::mt19937& rng, int alphabet) {
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(byte(rng)));
}

void AppendText(Bytes& out, std::size_t size, std::mt19937& rng) {
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    while (out.size() < size) {
        const std::string w = kWords[word(rng)];
        out.insert(out.end(), w.begin(), w.end());
        out.push_back(rng() % 9 == 0 ? '\n' : ' ');
    }
}

void AppendRepeats(Bytes& out, std::size_t size, std::mt19937& rng) {
    AppendRandom(out, std::min<std::size_t>(size, 64), rng, 256);
    while (out.size() < size) {
        if (rng() % 3 == 0) {
            AppendRandom(out, 1 + rng() % 20, rng, 256);
            continue;
        }
        // Distances up to twice the window, lengths up to twice the longest match.
        const std::size_t distance = 1 + rng() % std::min<std::size_t>(out.size(), 8192);
        const std::size_t length = 1 + rng() % 40;
        const std::size_t from = out.size() - distance;
        for (std::size_t i = 0; i < length; ++i) out.push_back(out[from + i]);
    }
}

void AppendRuns(Bytes& out, std::size_t size, std::mt19937& rng) {
    while (out.size() < size) {
        const auto value = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0 : rng() % 256);
        const std::size_t length = rng() % 2 == 0 ? 1 + rng() % 6 : 1 + rng() % 300;
        out.insert(out.end(), length, value);
    }
}

}  // namespace

std::string KindName(DataKind kind) {
    switch (kind) {
        case DataKind::kRandom: return "random";
        case DataKind::kRuns: return "runs";
        case DataKind::kRepeats: return "repeats";
        case DataKind::kText: return "text";
        case DataKind::kZeroStart: return "zero_start";
        case DataKind::kZeroEnd: return "zero_end";
        case DataKind::kSmallAlphabet: return "small_alphabet";
    }
    return "unknown";
}

Bytes MakeData(DataKind kind, std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out;
    out.reserve(size + 320);
    switch (kind) {
        case DataKind::kRandom: AppendRandom(out, size, rng, 256); break;
        case DataKind::kRuns: AppendRuns(out, size, rng); break;
        case DataKind::kRepeats: AppendRepeats(out, size, rng); break;
        case DataKind::kText: AppendText(out, size, rng); break;
        case DataKind::kZeroStart:
            out.assign(std::min<std::size_t>(size, rng() % 5000), 0);
            AppendRepeats(out, size, rng);
            break;
        case DataKind::kZeroEnd:
            AppendText(out, size / 2, rng);
            out.resize(size, 0);
            break;
        case DataKind::kSmallAlphabet: AppendRandom(out, size, rng, 1 + rng() % 3); break;
    }
    out.resize(size);
    return out;
}

}  // namespace lzs_test
