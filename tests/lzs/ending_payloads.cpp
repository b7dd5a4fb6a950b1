#include "tests/lzs/ending_payloads.h"

#include "lzs/format.h"

namespace lzs_test {
namespace {

// Writes a payload item by item, flag bytes included, and beside it the bytes it decodes to: a
// reference copies one byte at a time from `distance` back, zeros before the first byte.
struct Builder {
    std::vector<std::uint8_t> payload;
    std::vector<std::uint8_t> expected;
    std::size_t flagPosition = 0;
    int items = 8;

    // Starts a group when the last one is full; returns the flag bit of the next item.
    std::uint8_t NextItemBit() {
        if (items == 8) {
            flagPosition = payload.size();
            payload.push_back(0);
            items = 0;
        }
        return static_cast<std::uint8_t>(1u << items++);
    }
    Builder& Literals(const std::string& bytes) {
        for (char c : bytes) {
            payload[flagPosition] |= NextItemBit();
            payload.push_back(static_cast<std::uint8_t>(c));
            expected.push_back(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    Builder& Reference(std::size_t distance, std::size_t length) {
        NextItemBit();
        // Before the first byte, the source wraps around to positions past the end: zeros.
        const std::size_t source = expected.size() - distance;
        payload.resize(payload.size() + 2);
        lzs::PutReference(payload.data() + payload.size() - 2, source, length);
        for (std::size_t from = source; from != source + length; ++from) {
            expected.push_back(from < expected.size() ? expected[from] : 0);
        }
        return *this;
    }
    // The first byte of a reference and nothing after it: it decodes to nothing.
    void CutReference() {
        NextItemBit();
        payload.push_back(0x12);
    }
};

}  // namespace

std::vector<EndingCase> EndingCases() {
    const std::pair<const char*, void (*)(Builder&)> endings[] = {
        {"an overlapping reference", [](Builder& b) { b.Reference(1, 18); }},
        {"a far reference", [](Builder& b) { b.Reference(30, 3); }},
        {"a reference cut off", [](Builder& b) { b.CutReference(); }},
        {"nine literals", [](Builder& b) { b.Literals("endliter!"); }},
        // A group whose last literal is copied with 17 bytes to spare, then the least output
        // the rest of a payload can promise: literals, and nothing for the last byte.
        {"references, literals and a reference cut off",
         [](Builder& b) {
             for (int i = 0; i < 7; ++i) b.Reference(30, 3);
             b.Literals("sixteen literals").CutReference();
         }},
    };
    std::vector<EndingCase> cases;
    for (const auto& [what, end] : endings) {
        for (int items = 0; items <= 72; ++items) {
            Builder b;
            for (int i = 0; i < items; ++i) {
                const int kind = i % 5;
                if (kind == 0) b.Literals("ab");
                if (kind == 1) b.Reference(2, 3 + i % 16);
                if (kind == 2) b.Literals(std::string(1, static_cast<char>(i)));
                if (kind == 3) b.Reference(19 + i % 40, 18);
                if (kind == 4) b.Reference(7, 5);
            }
            end(b);
            cases.push_back({std::string(what) + " after " + std::to_string(items) + " items",
                             std::move(b.payload), std::move(b.expected)});
        }
    }
    return cases;
}

}  // namespace lzs_test
