#include "sample/field_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "lgp/field_parser.h"
#include "lgp/level_tables.h"
#include "lzs/format.h"
#include "lzs/hash_compressor.h"
#include "overflow/level_overflow.h"
#include "tests/sample/sample_reading.h"
#include "text/text_decoder.h"

namespace {

using sample_test::Bytes;
using sample_test::DecodedData;
using sample_test::ReadTable;
using sample_test::SmallArchive;
using sample_test::U16;
using sample_test::U32;

constexpr int kSections = 9;

// A parsed level of the small archive beside what the generator says it holds.
struct ParsedLevel {
    const sample::SampleLevel* expected;
    TLGPSubFile subFile;
    Bytes decoded;
};

std::vector<ParsedLevel> ParseSmallArchive(bool irregular) {
    const sample::SampleArchive& archive = SmallArchive(irregular);
    const TLGPFile table = ReadTable(archive.bytes);
    std::vector<ParsedLevel> levels;
    for (const auto& subFile : table.SubFiles) {
        const int index = lgp::LevelIndex(subFile->Name);
        if (index < 0) continue;
        ParsedLevel& level = levels.emplace_back();
        level.expected = &archive.levels.at(index);
        level.subFile.Name = subFile->Name;
        level.subFile.Length = subFile->Length;
        level.decoded = DecodedData(archive.bytes, *subFile);
        lgp::ParseFieldFile(level.subFile, level.decoded);
    }
    return levels;
}

const std::vector<ParsedLevel>& Levels() {
    static const std::vector<ParsedLevel> levels = ParseSmallArchive(false);
    return levels;
}

std::size_t SectionPosition(const Bytes& decoded, int section) {
    return U32(decoded, 6 + 4 * section);
}

TEST(SampleLevelTest, EveryLevelParsesWithTheCountsItWasWrittenWith) {
    for (const bool irregular : {false, true}) {
        const std::vector<ParsedLevel> levels =
            irregular ? ParseSmallArchive(true) : std::vector<ParsedLevel>();
        for (const ParsedLevel& level : irregular ? levels : Levels()) {
            const sample::SampleLevel& want = *level.expected;
            SCOPED_TRACE(want.name);
            EXPECT_EQ(level.decoded.size(), want.decodedSize);
            EXPECT_EQ(static_cast<std::size_t>(level.subFile.Length), want.storedSize);
            EXPECT_EQ(static_cast<int>(level.subFile.Entities.size()), want.entities);
            ASSERT_EQ(static_cast<int>(level.subFile.Texts.size()), want.texts);
            int windows = 0;
            int messages = 0;
            for (const TEntity& entity : level.subFile.Entities) {
                for (const TScript& script : entity.Scripts) {
                    windows += static_cast<int>(script.Windows.size());
                    messages += static_cast<int>(script.Messages.size());
                }
            }
            EXPECT_EQ(windows, want.windows);
            EXPECT_EQ(messages, want.messages);
            std::size_t textBytes = 0;
            int windowedTexts = 0;
            int windowLinks = 0;
            ASSERT_EQ(want.tagged.size(), level.subFile.Texts.size());
            ASSERT_EQ(want.textWindows.size(), level.subFile.Texts.size());
            std::vector<int> overflowing;
            std::vector<int> overflowingWidest;
            for (std::size_t t = 0; t < level.subFile.Texts.size(); ++t) {
                const TLevelText& text = level.subFile.Texts[t];
                textBytes += text.Bytes.size();
                EXPECT_EQ(text.Bytes.back(), 0xFF);
                EXPECT_EQ(text::DecodeText(text.Bytes), want.tagged[t]) << t;
                EXPECT_EQ(static_cast<int>(text.Windows.size()), want.textWindows[t]) << t;
                windowedTexts += !text.Windows.empty();
                windowLinks += static_cast<int>(text.Windows.size());
                if (overflow::IsOverflowing(text, text::CharacterNames::Default)) {
                    overflowing.push_back(static_cast<int>(t));
                }
                if (overflow::IsOverflowing(text, text::CharacterNames::Widest)) {
                    overflowingWidest.push_back(static_cast<int>(t));
                }
            }
            EXPECT_EQ(textBytes, want.textBytes);
            EXPECT_EQ(windowedTexts, want.windowedTexts);
            EXPECT_EQ(windowLinks, want.windowLinks);
            // The overflow made on purpose is still there once the level is read back.
            EXPECT_EQ(overflowing, want.overflowing);
            EXPECT_EQ(overflowingWidest, want.overflowingWidest);
        }
    }
}

TEST(SampleLevelTest, SmallArchiveHasEveryTextLayout) {
    std::set<sample::TextLayout> layouts;
    for (const ParsedLevel& level : Levels()) {
        const sample::SampleLevel& want = *level.expected;
        layouts.insert(want.layout);
        const bool hasTexts = want.layout == sample::TextLayout::Texts ||
                              want.layout == sample::TextLayout::TextsThenAkao;
        EXPECT_EQ(want.texts > 0, hasTexts) << want.name;
        const std::size_t script = SectionPosition(level.decoded, 0) + 4;
        const std::size_t akaoBlocks = U16(level.decoded, script + 6);
        EXPECT_EQ(akaoBlocks > 0, want.layout != sample::TextLayout::Texts &&
                                      want.layout != sample::TextLayout::TinyTextSection)
            << want.name;
        if (want.layout == sample::TextLayout::TinyTextSection) {
            // The level keeps the windows and messages of its scripts.
            EXPECT_GT(want.windows, 0);
            EXPECT_GT(want.messages, 0);
            const std::size_t texts = script + U16(level.decoded, script + 4);
            EXPECT_LE(SectionPosition(level.decoded, 1) - texts, 4u);
        }
    }
    EXPECT_EQ(layouts.size(), 5u);
}

TEST(SampleLevelTest, SectionsFollowEachOtherToTheEndOfTheFile) {
    for (const ParsedLevel& level : Levels()) {
        const Bytes& decoded = level.decoded;
        ASSERT_EQ(U32(decoded, 2), static_cast<std::uint32_t>(kSections));
        for (int s = 0; s < kSections; ++s) {
            const std::size_t next =
                s + 1 < kSections ? SectionPosition(decoded, s + 1) : decoded.size();
            EXPECT_EQ(SectionPosition(decoded, s) + 4 + U32(decoded, SectionPosition(decoded, s)),
                      next)
                << level.expected->name << " section " << s + 1;
        }
    }
}

// Walks every script of a level with the opcode length table: each script must end exactly
// where the next begins, with no opcode the table marks as never occurring.
void WalkScripts(const Bytes& decoded, std::set<int>& opcodesSeen) {
    const std::size_t base = SectionPosition(decoded, 0) + 4;
    const std::size_t entities = decoded[base + 2];
    const std::size_t texts = U16(decoded, base + 4);
    const std::size_t table = base + 32 + 8 * entities + 4 * U16(decoded, base + 6);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < 32 * entities; ++i) {
        const std::size_t start = U16(decoded, table + 2 * i);
        if (starts.empty() || start != starts.back()) starts.push_back(start);
    }
    starts.push_back(texts);
    for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
        std::size_t position = base + starts[s];
        while (position < base + starts[s + 1]) {
            const std::uint8_t opcode = decoded[position];
            const std::uint8_t length = lgp::kOpcodeLengths[opcode];
            opcodesSeen.insert(opcode);
            ASSERT_NE(length, lgp::kOpcodeNeverOccurs) << "at " << position;
            if (opcode == 0x0F) {
                const std::uint8_t sub = decoded[position + 1];
                position += 2 + (sub == 0xF5 || sub == 0xFB || sub == 0xFC) +
                            2 * (sub == 0xF8 || sub == 0xFD);
            } else if (opcode == 0x28) {
                ASSERT_GE(decoded[position + 1], 3) << "at " << position;
                position += decoded[position + 1];
            } else {
                position += 1 + length;
            }
        }
        ASSERT_EQ(position, base + starts[s + 1]) << "script " << s;
    }
}

TEST(SampleLevelTest, ScriptsUseManyOpcodesWithTheirExactLengths) {
    std::set<int> opcodes;
    for (const ParsedLevel& level : Levels()) {
        SCOPED_TRACE(level.expected->name);
        WalkScripts(level.decoded, opcodes);
    }
    for (const int interpreted : {0x0F, 0x28, 0x2F, 0x40, 0x48, 0x50}) {
        EXPECT_EQ(opcodes.count(interpreted), 1u) << interpreted;
    }
    EXPECT_GE(opcodes.size(), 100u);
}

TEST(SampleLevelTest, TextsUseTheGameNotation) {
    std::string all;
    int windowsShowingSeveralTexts = 0;
    for (const ParsedLevel& level : Levels()) {
        std::multiset<const TWindow*> shown;
        for (const TLevelText& text : level.subFile.Texts) {
            all += text::DecodeText(text.Bytes) + "\n";
            shown.insert(text.Windows.begin(), text.Windows.end());
        }
        for (const TWindow* window : std::set<const TWindow*>(shown.begin(), shown.end())) {
            windowsShowingSeveralTexts += shown.count(window) > 1;
        }
    }
    for (const char* notation :
         {"{NEW PAGE}", "{CHOICE}", "{PAUSE ", "{CLOUD}", "{WHITE}", "{VAR1}", "\x93", "\x85"}) {
        EXPECT_NE(all.find(notation), std::string::npos) << notation;
    }
    EXPECT_GT(windowsShowingSeveralTexts, 0);
}

TEST(SampleLevelTest, SomeTextsHaveNoWindowAndSomeSeveral) {
    int withoutWindow = 0;
    int withSeveral = 0;
    int overflowingLevels = 0;
    for (const ParsedLevel& level : Levels()) {
        overflowingLevels += !level.expected->overflowing.empty();
        for (std::size_t t = 1; t < level.subFile.Texts.size(); ++t) {
            withoutWindow += level.subFile.Texts[t].Windows.empty();
            withSeveral += level.subFile.Texts[t].Windows.size() > 1;
        }
    }
    EXPECT_GT(withoutWindow, 0);
    EXPECT_GT(withSeveral, 0);
    // Small archives have a text that overflows on purpose too.
    EXPECT_GT(overflowingLevels, 0);
}

TEST(SampleLevelTest, BackgroundTilesPointIntoTheirPagesAndPalettes) {
    for (const ParsedLevel& level : Levels()) {
        SCOPED_TRACE(level.expected->name);
        const Bytes& d = level.decoded;
        const std::size_t palette = SectionPosition(d, 3) + 4;
        const std::size_t palettes = U16(d, palette + 10);
        const std::size_t b = SectionPosition(d, 8) + 4;
        const std::size_t width = U16(d, b + 40);
        const std::size_t height = U16(d, b + 42);
        EXPECT_GE(width, 320u);
        EXPECT_GE(height, 240u);
        EXPECT_EQ(width, static_cast<std::size_t>(level.expected->backgroundWidth));
        EXPECT_EQ(height, static_cast<std::size_t>(level.expected->backgroundHeight));
        const std::size_t back = U16(d, b + 44);
        const std::size_t front = U16(d, b + 57 + 52 * back);
        ASSERT_GT(back, 0u);
        const std::size_t pages = b + 88 + 52 * (back + front);
        const auto check = [&](std::size_t tile) {
            const std::size_t page = U16(d, tile + 32);
            const std::size_t x = U16(d, tile + 10);
            const std::size_t y = U16(d, tile + 12);
            EXPECT_LT(U16(d, tile + 22), palettes);
            EXPECT_LT(page, static_cast<std::size_t>(level.expected->texturePages));
            EXPECT_LE(pages + 6 + 65542 * page + 256 * (y + 15) + x + 16, d.size());
            const int left = static_cast<std::int16_t>(U16(d, tile + 2)) + int(width / 2);
            const int top = static_cast<std::int16_t>(U16(d, tile + 4)) + int(height / 2);
            EXPECT_TRUE(left >= 0 && left + 16 <= int(width) && top >= 0 &&
                        top + 16 <= int(height));
        };
        for (std::size_t t = 0; t < back; ++t) check(b + 50 + 52 * t);
        for (std::size_t t = 0; t < front; ++t) check(b + 77 + 52 * back + 52 * t);
    }
}

TEST(SampleLevelTest, LevelsCompressLikeTheGamesFieldFiles) {
    double decoded = 0;
    double stored = 0;
    for (const ParsedLevel& level : Levels()) {
        decoded += static_cast<double>(level.expected->decodedSize);
        stored += static_cast<double>(level.expected->storedSize);
        EXPECT_GE(level.expected->decodedSize, 20'000u);
        EXPECT_LE(level.expected->decodedSize, 500'000u);
    }
    EXPECT_GT(stored / decoded, 0.6);
    EXPECT_LT(stored / decoded, 0.75);
}

TEST(SampleLevelTest, OldCopiesUnderCapitalNamesAreFieldFilesButNotLevels) {
    const Bytes& bytes = SmallArchive(false).bytes;
    const TLGPFile table = ReadTable(bytes);
    int copies = 0;
    for (const auto& subFile : table.SubFiles) {
        if (lgp::IsLevel(*subFile) || subFile->Name.find('.') != std::string::npos ||
            subFile->Name == "maplist") {
            continue;
        }
        ++copies;
        TLGPSubFile parsed;
        EXPECT_NO_THROW(lgp::ParseFieldFile(parsed, DecodedData(bytes, *subFile))) << subFile->Name;
    }
    EXPECT_GT(copies, 0);
}

TEST(SampleLevelTest, MakeFieldFileIsDeterministic) {
    const auto make = [](std::uint64_t seed) {
        return sample::MakeFieldFile("md1stin", "Sector 1 - station", sample::TextLayout::Texts,
                                     seed)
            .decoded;
    };
    EXPECT_EQ(make(5), make(5));
    EXPECT_NE(make(5), make(6));
}

}  // namespace
