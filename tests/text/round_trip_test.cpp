#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "text/character_table.h"
#include "text/tags.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool IsDigitCode(std::uint8_t code) { return code >= 0x10 && code <= 0x19; }
bool IsPercentCode(std::uint8_t code) {
    return text::CharacterTable[code].starts_with(text::PlaceholderChar);
}
// Whether an 0xFE just before `code` would start an escape sequence with it.
bool ContinuesEscape(std::uint8_t code) {
    for (const text::TagCode& entry : text::TagCodes) {
        if (entry.size > 1 && entry.bytes[0] == 0xFE && entry.bytes[1] == code) return true;
    }
    return false;
}
bool IsTag(const Bytes& bytes) {
    for (const text::TagCode& entry : text::TagCodes) {
        if (Bytes(entry.Code().begin(), entry.Code().end()) == bytes) return true;
    }
    return false;
}

// One piece of a game text, and what decoding then encoding must turn it into.
struct Piece {
    Bytes in;
    Bytes out;
    bool endsPercentRun = false;  // a digit code after it would extend a placeholder
    bool endsWithEscape = false;  // a lone 0xFE that the next byte must not complete
};

// Game texts made of pieces that come back unchanged and pieces holding each ambiguity of
// tagged text, with the bytes each must come back as.
class GameTextGenerator {
public:
    Piece Next(const Piece& previous) {
        for (;;) {
            Piece piece = Make(Pick(10));
            if (previous.endsPercentRun && IsDigitCode(piece.in[0])) continue;
            if (previous.endsWithEscape && ContinuesEscape(piece.in[0])) continue;
            return piece;
        }
    }

private:
    std::size_t Pick(std::size_t count) { return rng_() % count; }
    // A code that decodes to one character unchanged by anything around it.
    std::uint8_t Plain() {
        for (;;) {
            const auto code = static_cast<std::uint8_t>(Pick(256));
            if (!IsDigitCode(code) && !IsPercentCode(code) && code != 0x5B && code != 0x5F &&
                code != 0xAA && code != 0xC2 && code != 0xFE) {
                return code;
            }
        }
    }
    // A tag name in literal characters, each space as any of the three space codes.
    Bytes Spell(std::string_view tag) {
        Bytes bytes;
        for (const char c : tag) {
            const std::uint8_t spaces[] = {0x00, 0x5F, 0xAA};
            bytes.push_back(c == ' ' ? spaces[Pick(3)] : static_cast<std::uint8_t>(c - 0x20));
        }
        return bytes;
    }

    Piece Make(std::size_t kind) {
        const text::TagCode& tag = text::TagCodes[Pick(text::TagCodes.size())];
        const Bytes tagBytes(tag.Code().begin(), tag.Code().end());
        switch (kind) {
            case 0: {
                const std::uint8_t code = Plain();
                return {{code}, {code}};
            }
            case 1: {
                const auto code = static_cast<std::uint8_t>(0x10 + Pick(10));
                return {{code}, {code}};
            }
            case 2: {  // a placeholder or a percent sign, then digits that merge with it
                std::uint8_t first;
                while (!IsPercentCode(first = static_cast<std::uint8_t>(Pick(256)))) {
                }
                Piece piece{{first}, {}, true};
                std::string merged(text::CharacterTable[first]);
                for (std::size_t n = Pick(4); n > 0; --n) {
                    piece.in.push_back(static_cast<std::uint8_t>(0x10 + Pick(10)));
                    merged += static_cast<char>('0' + piece.in.back() - 0x10);
                }
                piece.out = {text::CharacterCode(merged)};
                return piece;
            }
            case 3: {
                const std::uint8_t in[] = {0x5F, 0xAA, 0xC2};
                const std::uint8_t out[] = {0x00, 0x00, 0x0C};
                const std::size_t which = Pick(3);
                return {{in[which]}, {out[which]}};
            }
            case 4:
                if (tag.size > 1 && tag.bytes[0] == 0xFE) return {tagBytes, tagBytes};
                return {{0xFE}, {0xFE}, false, true};
            case 5: {  // FE DD with a wrong pause byte or a non-zero fourth byte
                std::uint8_t pause = 0x0F;
                std::uint8_t fourth = 0x00;
                if (Pick(2) == 0) {
                    const std::uint8_t pauses[] = {0x0A, 0x0F, 0x14, 0x1E, 0x3C};
                    pause = pauses[Pick(5)];
                    while ((fourth = Plain()) == 0x00) {
                    }
                } else {
                    while ((pause = Plain()) == 0x0A || pause == 0x0F || pause == 0x1E ||
                           pause == 0x3C) {
                    }
                }
                const Bytes in = {0xFE, 0xDD, pause, fourth};
                // "%35" then the digit of pause 3 merge into "%354", a space.
                if (IsDigitCode(pause)) return {in, {0xFE, 0x00, fourth}};
                return {in, in};
            }
            case 6: {  // a chocobo sequence with one key byte changed
                if (tag.size != 6) return Make(kind);
                Bytes in = tagBytes;
                in[2 + Pick(4)] = Plain();
                if (IsTag(in)) return Make(kind);
                return {in, in};
            }
            case 7: {  // literal braces around a tag name become the tag
                if (!tag.tag.starts_with('{')) return Make(kind);
                return {Spell(tag.tag), tagBytes};
            }
            case 8: {  // a literal brace before a character that starts no tag name
                std::uint8_t next;
                while ((next = Plain()) >= 0x21 && next <= 0x3A) {
                }
                return {{0x5B, next}, {0x5B, next}};
            }
            default: {  // "{NEW PAGE}" in literal characters between line breaks
                const Bytes spelled = Spell("{NEW PAGE}");
                const Bytes canonical = {0x5B, 0x2E, 0x25, 0x37, 0x00,
                                         0x30, 0x21, 0x27, 0x25, 0x5D};
                Piece piece{{0xE7}, {0xE8}};
                piece.in.insert(piece.in.end(), spelled.begin(), spelled.end());
                if (Pick(2) == 0) {
                    piece.in.push_back(0xE7);
                } else {
                    // The new page after it gives its leading line break to the literal one.
                    piece.in.push_back(0xE8);
                    piece.out.insert(piece.out.end(), canonical.begin(), canonical.end());
                    piece.out.push_back(0xE7);
                }
                return piece;
            }
        }
    }

    std::mt19937 rng_{20240611};
};

TEST(RoundTripTest, DecodeThenEncodeChangesOnlyAmbiguousBytes) {
    GameTextGenerator generator;
    for (int iteration = 0; iteration < 2000; ++iteration) {
        Bytes stored;
        Bytes expected;
        Piece piece;
        for (int count = iteration % 40; count > 0; --count) {
            piece = generator.Next(piece);
            stored.insert(stored.end(), piece.in.begin(), piece.in.end());
            expected.insert(expected.end(), piece.out.begin(), piece.out.end());
        }
        stored.push_back(0xFF);
        expected.push_back(0xFF);
        ASSERT_EQ(text::EncodeText(text::DecodeText(stored), true), expected)
            << testing::PrintToString(stored);
    }
}

TEST(RoundTripTest, DecodingAnyBytesIgnoresAMissingTerminator) {
    // Escape bytes and their continuations are frequent, so that sequences are often cut off.
    const std::uint8_t common[] = {0xFE, 0xDD, 0xE2, 0x0A, 0x14, 0x00, 0x62, 0x03, 0x01, 0xFF};
    std::mt19937 rng(7);
    for (int iteration = 0; iteration < 5000; ++iteration) {
        Bytes bytes(rng() % 24);
        for (auto& byte : bytes) {
            byte = rng() % 2 ? static_cast<std::uint8_t>(rng()) : common[rng() % std::size(common)];
        }
        while (!bytes.empty() && bytes.back() == 0xFF) bytes.pop_back();
        const std::string decoded = text::DecodeText(bytes);
        bytes.push_back(0xFF);
        ASSERT_EQ(text::DecodeText(bytes), decoded) << testing::PrintToString(bytes);
    }
}

TEST(RoundTripTest, EncodeDecodeEncodeIsStable) {
    const std::string nearTags[] = {"{grey}", "{PAUSE 6}", "{NEW PAGE}", "{CLOUD",
                                    "CLOUD}", "{FOO}",     "{}",         "\r\n{NEW PAGE}"};
    std::mt19937 rng(99);
    for (int iteration = 0; iteration < 3000; ++iteration) {
        std::string tagged;
        for (int count = iteration % 30; count > 0; --count) {
            switch (rng() % 4) {
                case 0:
                    tagged += text::TagCodes[rng() % text::TagCodes.size()].tag;
                    break;
                case 1:
                    tagged += nearTags[rng() % std::size(nearTags)];
                    break;
                case 2: {
                    const std::string number = std::to_string(rng() % 1000);
                    tagged += '%' + number.substr(0, rng() % 4);
                    break;
                }
                default:
                    tagged += static_cast<char>(rng());
                    break;
            }
        }
        const Bytes encoded = text::EncodeText(tagged, true);
        ASSERT_EQ(text::EncodeText(text::DecodeText(encoded), true), encoded)
            << testing::PrintToString(tagged);
    }
}

TEST(RoundTripTest, CharactersEncodedAsSpacesCanCompleteATagOnTheWayBack) {
    struct Row {
        std::string tagged;
        Bytes encoded;
        Bytes reencoded;
    };
    const Row rows[] = {
        {"{CAIT\x80SITH}",
         {0x5B, 0x23, 0x21, 0x29, 0x34, 0x00, 0x33, 0x29, 0x34, 0x28, 0x5D, 0xFF},
         {0xF0, 0xFF}},
        {"{RED%0XIII}",
         {0x5B, 0x32, 0x25, 0x24, 0x00, 0x38, 0x29, 0x29, 0x29, 0x5D, 0xFF},
         {0xEE, 0xFF}},
    };
    for (const Row& row : rows) {
        const Bytes encoded = text::EncodeText(row.tagged, true);
        EXPECT_EQ(encoded, row.encoded) << row.tagged;
        EXPECT_EQ(text::EncodeText(text::DecodeText(encoded), true), row.reencoded) << row.tagged;
    }
}

}  // namespace
