#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lzs_test {

// Writes an LZS payload item by item and keeps, beside it, the bytes it decodes to: a literal
// adds its byte, a reference copies `length` bytes from `distance` back one at a time, reading
// zeros before the first byte. Groups of eight items each get their flag byte; the spare bits
// of the last one are 0.
class PayloadBuilder {
public:
    PayloadBuilder& Literal(std::uint8_t byte);
    PayloadBuilder& Literals(const std::string& bytes);
    // distance 1 to 4095, length 3 to 18.
    PayloadBuilder& Reference(std::size_t distance, std::size_t length);
    // The first byte of a reference and nothing after it: it decodes to nothing.
    PayloadBuilder& CutReference();

    const std::vector<std::uint8_t>& Payload() const { return payload_; }
    const std::vector<std::uint8_t>& Expected() const { return expected_; }

private:
    // Starts a group when the last one is full and returns the flag bit of the next item.
    std::uint8_t NextItemBit();

    std::vector<std::uint8_t> payload_;
    std::vector<std::uint8_t> expected_;
    std::size_t flagPosition_ = 0;
    int items_ = 8;
};

// A payload and the bytes it decodes to, with what makes it a case.
struct EndingCase {
    std::string what;
    std::vector<std::uint8_t> payload;
    std::vector<std::uint8_t> expected;
};

// Payloads of 0 to 72 mixed items (literals; references near, far, overlapping their own
// output and reaching before the first byte), each followed by one of the ways a payload can
// end: a reference overlapping its output, a far reference, a reference cut off, literals. The
// end so falls at every position of a group and on either side of the decoders' fast loop.
std::vector<EndingCase> EndingCases();

}  // namespace lzs_test
