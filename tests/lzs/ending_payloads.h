#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lzs_test {

struct EndingCase {
    std::string what;
    std::vector<std::uint8_t> payload;
    std::vector<std::uint8_t> expected;  // what the payload decodes to
};

// Payloads of 0 to 72 mixed items (literals, references near, far, overlapping their output and
// reaching before the first byte), then one way of ending: a reference overlapping its output,
// a far one, one cut off, literals. The end so falls at every position of a group and on both
// sides of the decoders' switch from their fast loop to item-by-item decoding.
std::vector<EndingCase> EndingCases();

}  // namespace lzs_test
