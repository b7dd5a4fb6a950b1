#include "lgp/field_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "lgp/format_error.h"
#include "lgp/level_questions.h"
#include "tests/lgp/field_file_builder.h"

namespace {

using lgp_test::Ask;
using lgp_test::Bytes;
using lgp_test::Concat;
using lgp_test::FieldFileBuilder;
using lgp_test::Message;
using lgp_test::Window;

const Bytes kHello = {'(', 'E', 'L', 'L', 'O', 0xFF};
const Bytes kBye = {'"', 'Y', 'E', 0xFF};

TLGPSubFile Parse(const Bytes& file) {
    TLGPSubFile level;
    level.Name = "test";
    lgp::ParseFieldFile(level, file);
    return level;
}

// The windows of each text as (entity, script, window index) triples, for comparison.
struct WindowRef {
    std::size_t entity, script, window;
    bool operator==(const WindowRef&) const = default;
};

std::vector<std::vector<WindowRef>> WindowLists(const TLGPSubFile& level) {
    std::vector<std::vector<WindowRef>> lists;
    for (const TLevelText& text : level.Texts) {
        auto& list = lists.emplace_back();
        for (const TWindow* window : text.Windows) {
            for (std::size_t e = 0; e < level.Entities.size(); ++e) {
                for (std::size_t s = 0; s < level.Entities[e].Scripts.size(); ++s) {
                    const auto& windows = level.Entities[e].Scripts[s].Windows;
                    for (std::size_t w = 0; w < windows.size(); ++w) {
                        if (&windows[w] == window) list.push_back({e, s, w});
                    }
                }
            }
        }
    }
    return lists;
}

TEST(FieldParserTest, ReadsWindowsMessagesAndTexts) {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(3, -8, 16, 200, 57), Message(3, 0)}),
                    Concat({Window(1, 10, 20, 30, 40, 0x2F), Ask(1, 1)})})
        .Texts({kHello, kBye});
    const TLGPSubFile level = Parse(builder.Build());

    ASSERT_EQ(level.Entities.size(), 1u);
    ASSERT_EQ(level.Entities[0].Scripts.size(), 2u);
    const TWindow& window = level.Entities[0].Scripts[0].Windows.at(0);
    EXPECT_EQ(window.Offset, static_cast<std::int32_t>(builder.ScriptPosition(0, 0)));
    EXPECT_EQ(window.WindowId, 3);
    EXPECT_EQ(window.X, -8);
    EXPECT_EQ(window.Y, 16);
    EXPECT_EQ(window.Width, 200);
    EXPECT_EQ(window.Height, 57);
    EXPECT_EQ(window.SavedX, -8);
    EXPECT_EQ(window.SavedHeight, 57);
    EXPECT_FALSE(window.Changed());

    const TMessage& ask = level.Entities[0].Scripts[1].Messages.at(0);
    EXPECT_EQ(ask.Offset, static_cast<std::int32_t>(builder.ScriptPosition(0, 1) + 10));
    EXPECT_EQ(ask.WindowId, 1);
    EXPECT_EQ(ask.TextId, 1);

    ASSERT_EQ(level.Texts.size(), 2u);
    EXPECT_EQ(level.Texts[0].Bytes, kHello);
    EXPECT_EQ(level.Texts[1].Bytes, kBye);
    EXPECT_EQ(level.SavedTexts, (std::vector<Bytes>{kHello, kBye}));
    EXPECT_EQ(level.CompareMarks, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(WindowLists(level), (std::vector<std::vector<WindowRef>>{{{0, 0, 0}}, {{0, 1, 0}}}));
}

struct WindowListCase {
    const char* what;
    std::vector<std::vector<Bytes>> entities;
    std::vector<std::vector<WindowRef>> expected;  // for texts 0 and 1
};

class WindowListTest : public testing::TestWithParam<WindowListCase> {};

TEST_P(WindowListTest, LinksTextsToTheirWindows) {
    const WindowListCase& c = GetParam();
    FieldFileBuilder builder;
    for (const auto& scripts : c.entities) builder.Entity(scripts);
    builder.Texts({kHello, kBye});
    EXPECT_EQ(WindowLists(Parse(builder.Build())), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WindowListTest,
    testing::Values(
        WindowListCase{"two messages after one window list it twice",
                       {{Concat({Window(0, 0, 0, 9, 9), Message(0, 0), Message(0, 0)})}},
                       {{{0, 0, 0}, {0, 0, 0}}, {}}},
        WindowListCase{"a message whose window number has no window adds nothing",
                       {{Concat({Window(0, 0, 0, 9, 9), Message(1, 0)})}},
                       {{}, {}}},
        WindowListCase{"a window after the message is not used",
                       {{Concat({Message(0, 0), Window(0, 0, 0, 9, 9)})}},
                       {{}, {}}},
        WindowListCase{"the last earlier window of that number is used",
                       {{Concat({Window(0, 0, 0, 9, 9), Window(2, 0, 0, 9, 9),
                                 Window(0, 1, 1, 9, 9), Message(0, 1), Window(0, 2, 2, 9, 9)})}},
                       {{}, {{0, 0, 2}}}},
        WindowListCase{"a window of another script is not used",
                       {{Window(0, 0, 0, 9, 9), Message(0, 0)}},
                       {{}, {}}},
        WindowListCase{"entities and scripts give the order",
                       {{Concat({Window(5, 0, 0, 9, 9), Message(5, 1)})},
                        {Concat({Window(5, 0, 0, 9, 9), Ask(5, 1)}),
                         Concat({Window(4, 0, 0, 9, 9, 0x2F), Message(4, 1), Message(4, 0)})}},
                       {{{1, 1, 0}}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}}},
        WindowListCase{"messages for texts that do not exist are ignored",
                       {{Concat({Window(0, 0, 0, 9, 9), Message(0, 7)})}},
                       {{}, {}}}));

TEST(FieldParserTest, AskKeepsItsChoiceLines) {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, 0, 0, 9, 9), Message(0, 0), Ask(0, 1, 2, 4)})})
        .Texts({kHello, kBye});
    const TLGPSubFile level = Parse(builder.Build());
    const std::vector<TMessage>& messages = level.Entities.at(0).Scripts.at(0).Messages;
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_FALSE(messages[0].Ask);
    EXPECT_EQ(messages[0].FirstChoice, 0);
    EXPECT_EQ(messages[0].LastChoice, 0);
    EXPECT_TRUE(messages[1].Ask);
    EXPECT_EQ(messages[1].WindowId, 0);
    EXPECT_EQ(messages[1].TextId, 1);
    EXPECT_EQ(messages[1].FirstChoice, 2);
    EXPECT_EQ(messages[1].LastChoice, 4);
}

TEST(FieldParserTest, QuestionsAreTheTextsThatAnAskShows) {
    FieldFileBuilder builder;
    // Text 0 shown by a MESSAGE, text 1 by two ASKs (the first counts), text 2 by none, and
    // an ASK of a text the level lacks.
    builder.Entity({Concat({Window(0, 0, 0, 9, 9), Message(0, 0), Ask(0, 7, 0, 1)}),
                    Concat({Ask(1, 1, 3, 5)})})
        .Entity({Concat({Ask(0, 1, 1, 2)})})
        .Texts({kHello, kBye, kHello});
    const TLGPSubFile level = Parse(builder.Build());
    const std::vector<const TMessage*> questions = lgp::TextQuestions(level);
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_EQ(questions[0], nullptr);
    ASSERT_NE(questions[1], nullptr);
    EXPECT_EQ(questions[1]->FirstChoice, 3);
    EXPECT_EQ(questions[1]->LastChoice, 5);
    EXPECT_EQ(questions[1], &level.Entities[0].Scripts[1].Messages[0]);
    EXPECT_EQ(questions[2], nullptr);
}

TEST(FieldParserTest, OpcodesAreSkippedByTheirLengths) {
    // SPECIAL with 0, 1 and 2 extra bytes, KAWAI skipping its block, and plain opcodes:
    // a message after all of them must be found where it is.
    const Bytes script = Concat({
        {0x0F, 0xF5, 0x40},                    // SPECIAL with one byte that looks like MESSAGE
        {0x0F, 0xF8, 0x40, 0x40},              // two extra bytes
        {0x0F, 0x10},                          // none
        {0x28, 0x06, 0x40, 0x50, 0x40, 0x50},  // KAWAI of 6 bytes hiding opcode bytes
        {0x09, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 14 parameter bytes
        {0x2A, 0x40},                                       // one parameter byte
        Window(2, 1, 2, 3, 4),
        Message(2, 0),
    });
    FieldFileBuilder builder;
    builder.Entity({script}).Texts({kHello});
    const TLGPSubFile level = Parse(builder.Build());
    const TScript& parsed = level.Entities[0].Scripts[0];
    ASSERT_EQ(parsed.Windows.size(), 1u);
    ASSERT_EQ(parsed.Messages.size(), 1u);
    EXPECT_EQ(parsed.Messages[0].Offset,
              static_cast<std::int32_t>(builder.ScriptPosition(0, 0) + script.size() - 3));
    EXPECT_EQ(level.Texts[0].Windows.size(), 1u);
}

TEST(FieldParserTest, EqualScriptPositionsMakeOneScriptUpToTheNextEntity) {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, 0, 0, 9, 9), Message(0, 0)})})
        .Entity({Concat({Message(0, 0)})})
        .Texts({kHello});
    const TLGPSubFile level = Parse(builder.Build());
    ASSERT_EQ(level.Entities.size(), 2u);
    EXPECT_EQ(level.Entities[0].Scripts.size(), 1u);
    EXPECT_EQ(level.Entities[0].Scripts[0].Messages.size(), 1u);
    EXPECT_EQ(level.Entities[1].Scripts[0].Messages.size(), 1u);
}

TEST(FieldParserTest, InvalidOpcodeRules) {
    const Bytes stop = {0x1A};
    // In the last script of the last entity: the level opens with what was found.
    FieldFileBuilder last;
    last.Entity({Concat({Window(0, 0, 0, 9, 9), Message(0, 0), stop, Message(0, 0)})})
        .Texts({kHello});
    const TLGPSubFile level = Parse(last.Build());
    EXPECT_EQ(level.Entities[0].Scripts[0].Messages.size(), 1u);
    EXPECT_EQ(level.Texts.size(), 1u);

    // Earlier, in a level with texts: the level is invalid.
    FieldFileBuilder early;
    early.Entity({stop, Message(0, 0)}).Texts({kHello});
    EXPECT_THROW(Parse(early.Build()), lgp::FormatError);

    // Earlier, in a level without texts: it opens.
    FieldFileBuilder noTexts;
    noTexts.Entity({Concat({Window(0, 0, 0, 9, 9), stop})}).Entity({Message(0, 0)}).NoTextSection();
    const TLGPSubFile quiet = Parse(noTexts.Build());
    EXPECT_TRUE(quiet.Texts.empty());
    EXPECT_EQ(quiet.Entities[0].Scripts[0].Windows.size(), 1u);
}

TEST(FieldParserTest, KawaiOfLengthZeroIsMalformed) {
    FieldFileBuilder builder;
    builder.Entity({Bytes{0x28, 0x00, 0x00}}).Texts({kHello});
    EXPECT_THROW(Parse(builder.Build()), lgp::FormatError);
}

TEST(FieldParserTest, TextPositionListRules) {
    // A 0 in the list ends it, and that text is read from the section's start, count first.
    FieldFileBuilder zero;
    zero.Entity({Bytes{0x00}}).Texts({kHello, kBye}).TextPositions({6, 0});
    TLGPSubFile level = Parse(zero.Build());
    ASSERT_EQ(level.Texts.size(), 2u);
    EXPECT_EQ(level.Texts[0].Bytes, kHello);
    EXPECT_EQ(level.Texts[1].Bytes.front(), 2);  // the stored count, little-endian
    EXPECT_EQ(level.Texts[1].Bytes.back(), 0xFF);

    // The stored count is never used: the list alone gives the number of texts.
    FieldFileBuilder three;
    three.Entity({Bytes{0x00}}).Texts({kHello, kBye, kBye});
    Bytes file = three.Build();
    const std::size_t textSection = FieldFileBuilder::kBase + file[FieldFileBuilder::kBase + 4] +
                                    256 * file[FieldFileBuilder::kBase + 5];
    file[textSection] = 99;
    EXPECT_EQ(Parse(file).Texts.size(), 3u);

    // Positions past the end of the data make the level invalid.
    FieldFileBuilder past;
    past.Entity({Bytes{0x00}}).Texts({kHello}).TextPositions({6, 0x7000});
    EXPECT_THROW(Parse(past.Build()), lgp::FormatError);
}

TEST(FieldParserTest, ShortTextSectionMeansNoTexts) {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, 0, 0, 9, 9), Message(0, 0)})}).Texts({{0xFF}}).TextPositions({});
    // Count and nothing else: 2 bytes of text section.
    const TLGPSubFile level = Parse(builder.Build());
    EXPECT_TRUE(level.Texts.empty());
    EXPECT_TRUE(level.SavedTexts.empty());
    EXPECT_TRUE(level.CompareMarks.empty());
    EXPECT_EQ(level.Entities[0].Scripts[0].Windows.size(), 1u);
    EXPECT_EQ(level.Entities[0].Scripts[0].Messages.size(), 1u);
}

TEST(FieldParserTest, AkaoBlocksEndTexts) {
    const Bytes akao = {'A', 'K', 'A', 'O', 0xFF, 0xFF};
    // A last text without 0xFF stops at the first listed Akao block.
    FieldFileBuilder unterminated;
    unterminated.Entity({Bytes{0x00}}).Texts({kHello, {'a', 'b'}}).Akao({akao});
    TLGPSubFile level = Parse(unterminated.Build());
    ASSERT_EQ(level.Texts.size(), 2u);
    EXPECT_EQ(level.Texts[1].Bytes, (Bytes{'a', 'b'}));

    // The first listed block, not the nearest one, is the stop.
    FieldFileBuilder listed;
    listed.Entity({Bytes{0x00}}).Texts({kHello, {'a', 'b'}}).Akao({akao, akao}, {1, 0});
    EXPECT_EQ(Parse(listed.Build()).Texts[1].Bytes, (Bytes{'a', 'b', 'A', 'K', 'A', 'O', 0xFF}));

    // A position list running up to the smallest Akao position: no texts.
    FieldFileBuilder empty;
    empty.Entity({Bytes{0x00}}).Texts({}).TextPositions({4}).Akao({akao});
    EXPECT_TRUE(Parse(empty.Build()).Texts.empty());
}

TEST(FieldParserTest, TextsOutsideTheirSectionAreEmptyAndMarkTheLevel) {
    // kHello at 6 and kBye at 12 of the text section, which ends at 16: at the Akao block,
    // or without one where the next section begins.
    struct Case {
        std::vector<std::uint16_t> positions;
        bool akao;
        Bytes second;
        std::string damage;
    };
    const Case cases[] = {
        {{6, 12}, true, kBye, ""},
        {{6, 16}, true, {}, ""},
        {{6, 18}, true, {}, "text 2 starts at 18 in the text section, past its end at 16"},
        {{6, 16}, false, {}, ""},
        {{6, 20}, false, {}, "text 2 starts at 20 in the text section, past its end at 16"},
        {{6, 2},
         false,
         {0x06, 0x00},
         "text 2 starts at 2 in the text section, inside its position list"},
        {{8, 0, 12},
         false,
         {0x02},
         "its text position list claims 3 texts, but a 0 ends it after 2"},
    };
    for (const Case& c : cases) {
        FieldFileBuilder builder;
        builder.Entity({Bytes{0x00}}).Texts({kHello, kBye}).TextPositions(c.positions);
        if (c.akao) builder.Akao({{'A', 'K', 'A', 'O'}});
        const TLGPSubFile level = Parse(builder.Build());
        ASSERT_EQ(level.Texts.size(), 2u);
        // The text read from inside the position list goes on into the texts: its start tells.
        const Bytes& second = level.Texts[1].Bytes;
        const auto compared = static_cast<std::ptrdiff_t>(std::min(second.size(), c.second.size()));
        EXPECT_EQ(Bytes(second.begin(), second.begin() + compared), c.second);
        EXPECT_EQ(second.empty(), c.second.empty());
        EXPECT_EQ(level.Damage, c.damage);
        EXPECT_FALSE(level.Unreadable);
    }
}

TEST(FieldParserTest, LastTextWithoutEndKeepsTheBytesUpToTheEndOfData) {
    FieldFileBuilder builder;
    builder.Entity({Bytes{0x00}}).Texts({kHello, {'z', 'z'}});
    Bytes file = builder.Build();
    // Cut the file right after the unterminated text (its next section goes too).
    file.resize(file.size() - 12);
    const TLGPSubFile level = Parse(file);
    ASSERT_EQ(level.Texts.size(), 2u);
    EXPECT_EQ(level.Texts[1].Bytes, (Bytes{'z', 'z'}));
}

TEST(FieldParserTest, DamagedFilesFailCleanly) {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, 0, 0, 9, 9), Message(0, 0), Ask(0, 1)})})
        .Entity({Concat({Window(1, 0, 0, 9, 9), Message(1, 1)})})
        .Texts({kHello, kBye})
        .Akao({{'A', 'K', 'A', 'O'}});
    const Bytes file = builder.Build();
    // Every prefix, and many files with random bytes changed, parse or fail with FormatError.
    for (std::size_t size = 0; size < file.size(); ++size) {
        try {
            Parse(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
        } catch (const lgp::FormatError&) {
        }
    }
    std::mt19937 rng(5);
    for (int i = 0; i < 3000; ++i) {
        Bytes damaged = file;
        for (int j = 0; j < 3; ++j) damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
        try {
            Parse(damaged);
        } catch (const lgp::FormatError&) {
        }
    }
}

TEST(FieldParserTest, ErrorsNameTheLevel) {
    TLGPSubFile level;
    level.Name = "md1stin";
    try {
        lgp::ParseFieldFile(level, Bytes(8, 0));
        FAIL() << "a file of 8 bytes parsed";
    } catch (const lgp::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("md1stin"), std::string::npos) << error.what();
    }
}

}  // namespace
