#include "tests/lzs/payload_builder.h"

#include "lzs/format.h"

namespace lzs_test {

std::uint8_t PayloadBuilder::NextItemBit() {
    if (items_ == 8) {
        flagPosition_ = payload_.size();
        payload_.push_back(0);
        items_ = 0;
    }
    return static_cast<std::uint8_t>(1u << items_++);
}

PayloadBuilder& PayloadBuilder::Literal(std::uint8_t byte) {
    payload_[flagPosition_] |= NextItemBit();
    payload_.push_back(byte);
    expected_.push_back(byte);
    return *this;
}

PayloadBuilder& PayloadBuilder::Literals(const std::string& bytes) {
    for (char c : bytes) Literal(static_cast<std::uint8_t>(c));
    return *this;
}

PayloadBuilder& PayloadBuilder::Reference(std::size_t distance, std::size_t length) {
    NextItemBit();
    const std::size_t source = expected_.size() - distance;
    payload_.resize(payload_.size() + 2);
    lzs::PutReference(payload_.data() + payload_.size() - 2, source, length);
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t from = source + i;
        // Positions before the first byte wrap around to huge values: the window's zeros.
        expected_.push_back(from < expected_.size() ? expected_[from] : 0);
    }
    return *this;
}

PayloadBuilder& PayloadBuilder::CutReference() {
    NextItemBit();
    payload_.push_back(0x12);
    return *this;
}

std::vector<EndingCase> EndingCases() {
    struct Ending {
        const char* what;
        void (*add)(PayloadBuilder&);
    };
    const Ending endings[] = {
        {"an overlapping reference", [](PayloadBuilder& b) { b.Reference(1, 18); }},
        {"a far reference", [](PayloadBuilder& b) { b.Reference(30, 3); }},
        {"a reference cut off", [](PayloadBuilder& b) { b.CutReference(); }},
        {"a literal", [](PayloadBuilder& b) { b.Literal('z'); }},
        {"nine literals", [](PayloadBuilder& b) { b.Literals("endliter!"); }},
        // A group whose last literal is copied with 17 bytes to spare, then the least output
        // the rest of a payload can promise: literals, and nothing for the last byte.
        {"references, then literals and a reference cut off",
         [](PayloadBuilder& b) {
             for (int i = 0; i < 7; ++i) b.Reference(30, 3);
             b.Literals("sixteen literals").CutReference();
         }},
    };
    std::vector<EndingCase> cases;
    for (const Ending& ending : endings) {
        for (int items = 0; items <= 72; ++items) {
            PayloadBuilder builder;
            for (int i = 0; i < items; ++i) {
                switch (i % 6) {
                    case 0: builder.Literals("ab"); break;
                    case 1: builder.Reference(2, 3 + i % 16); break;
                    case 2: builder.Literal(static_cast<std::uint8_t>(i)); break;
                    case 3: builder.Reference(19 + i % 40, 18); break;
                    case 4: builder.Reference(7, 5); break;
                    default: builder.Literal(0xFF); break;
                }
            }
            ending.add(builder);
            cases.push_back({std::string(ending.what) + " after " + std::to_string(items) +
                                 " items",
                             builder.Payload(), builder.Expected()});
        }
    }
    return cases;
}

}  // namespace lzs_test
