#include "tests/lzs/fallback_reference.h"

#include <algorithm>
#include <cstddef>

namespace lzs_test {

std::vector<std::uint8_t> CompressFallbackReference(std::span<const std::uint8_t> input) {
    constexpr std::size_t kPrefix = 4095;
    const std::size_t n = input.size();
    std::vector<std::uint8_t> work(kPrefix + n + 64, 0);
    std::copy(input.begin(), input.end(), work.begin() + kPrefix);

    std::vector<std::uint8_t> out(4, 0);
    std::size_t flagPos = 0;
    int items = 0;
    const std::size_t end = kPrefix + n;
    std::size_t p = kPrefix;
    while (p < end) {
        if (items == 0) {
            flagPos = out.size();
            out.push_back(0);
        }
        std::size_t best = 0;
        std::size_t bestDistance = 0;
        for (std::size_t d = 2; d <= 4095; ++d) {
            std::size_t count = 0;
            while (work[p - d + count] == work[p + count] &&
                   work[p - d + count + 1] == work[p + count + 1] && count < 18 && count + 2 < d) {
                count += 2;
            }
            if (count > 0 && count != 18 && work[p - d + count] == work[p + count]) ++count;
            count = std::min(count, end - p);
            if (count > best) {
                best = count;
                bestDistance = d;
                if (count == 18) break;
            }
        }
        if (best >= 3) {
            const std::size_t offset = (p - bestDistance - kPrefix - 18) & 0xFFF;
            out.push_back(static_cast<std::uint8_t>(offset & 0xFF));
            out.push_back(static_cast<std::uint8_t>(((offset >> 4) & 0xF0) | (best - 3)));
            p += best;
        } else {
            out[flagPos] |= static_cast<std::uint8_t>(1u << items);
            out.push_back(work[p++]);
        }
        if (++items == 8) items = 0;
    }
    const auto payload = static_cast<std::uint32_t>(out.size() - 4);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(payload >> (8 * i));
    return out;
}

}  // namespace lzs_test
