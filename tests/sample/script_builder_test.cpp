#include "sample/script_builder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using sample::DialogueTally;
using sample::ScriptBuilder;
using Bytes = std::vector<std::uint8_t>;

TEST(ScriptBuilderTest, OpcodesTakeExactlyTheTableLength) {
    DialogueTally tally;
    ScriptBuilder script(tally);
    script.Op(0x24, {0x10, 0x00});  // WAIT: 2 bytes
    script.Op(0x5F, {});            // 0 bytes
    EXPECT_EQ(script.Code(), (Bytes{0x24, 0x10, 0x00, 0x5F}));
    EXPECT_THROW(script.Op(0x24, {0x10}), std::logic_error);
    EXPECT_THROW(script.Op(0x0C, {}), std::logic_error);      // never occurs
    EXPECT_THROW(script.Op(0x0F, {0xF9}), std::logic_error);  // SPECIAL has its own call
    EXPECT_THROW(script.Op(0x28, {3, 0}), std::logic_error);  // so has KAWAI
    EXPECT_EQ(script.Size(), 4u);
}

TEST(ScriptBuilderTest, SpecialAndKawaiCarryTheLengthsTheParserReads) {
    DialogueTally tally;
    ScriptBuilder script(tally);
    script.Special(0xF5, {1});
    script.Special(0xFD, {2, 3});
    script.Special(0xFE, {});
    const Bytes parameters = {7, 8, 9};
    script.Kawai(0x02, parameters);
    EXPECT_EQ(script.Code(),
              (Bytes{0x0F, 0xF5, 1, 0x0F, 0xFD, 2, 3, 0x0F, 0xFE, 0x28, 6, 0x02, 7, 8, 9}));
    EXPECT_THROW(script.Special(0xF8, {1}), std::logic_error);  // takes two bytes
    EXPECT_THROW(script.Special(0xF6, {}), std::logic_error);   // not a sub-opcode used here
}

TEST(ScriptBuilderTest, WindowOpcodesWriteTheirGeometryLittleEndian) {
    DialogueTally tally;
    ScriptBuilder script(tally);
    script.Window(1, 8, -2, 300, 57);
    script.ResizeWindow(1, 0x102, 16, 40, 25);
    EXPECT_EQ(script.Code(), (Bytes{0x50, 1, 8, 0, 0xFE, 0xFF, 0x2C, 1, 57, 0,
                                    0x2F, 1, 2, 1, 16,   0,    40,   0, 25, 0}));
    EXPECT_EQ(tally.windows, 2);
}

TEST(ScriptBuilderTest, MessagesCountAWindowOnlyAfterOneOfTheirNumberInTheSameScript) {
    DialogueTally tally;
    ScriptBuilder first(tally);
    first.Message(0, 5);  // before any window
    first.Window(0, 8, 8, 100, 25);
    first.Message(0, 5);
    first.Message(1, 6);  // another window number
    first.Message(0, 6);
    ScriptBuilder second(tally);
    second.Message(0, 7);  // window 0 was opened in another script
    second.Ask(2, 3, 7, 1, 2, 4);
    EXPECT_EQ(tally.messages, 6);
    EXPECT_EQ(tally.windowLinks[5], 1);
    EXPECT_EQ(tally.windowLinks[6], 1);
    EXPECT_EQ(tally.windowLinks[7], 0);
    EXPECT_EQ(second.Code(), (Bytes{0x40, 0, 7, 0x48, 2, 3, 7, 1, 2, 4}));
}

TEST(ScriptBuilderTest, WindowsOpenedInABlockServeTheMessagesAfterIt) {
    DialogueTally tally;
    ScriptBuilder script(tally);
    ScriptBuilder body = script.Block();
    body.Window(2, 8, 8, 100, 25);
    body.Message(2, 1);
    script.IfByte(0x10, 4, 0, 0, body);
    script.Message(2, 3);
    EXPECT_EQ(tally.windowLinks[1], 1);
    EXPECT_EQ(tally.windowLinks[3], 1);
    // IFUB, then the body; the jump counts from the jump byte to the end of the body.
    ASSERT_EQ(script.Size(), 6u + body.Size() + 3u);
    EXPECT_EQ(script.Code()[0], 0x14);
    EXPECT_EQ(script.Code()[5], 1 + body.Size());
}

TEST(ScriptBuilderTest, LongBodiesAndFarJumpsUseTheLongOpcodes) {
    DialogueTally tally;
    ScriptBuilder script(tally);
    ScriptBuilder body = script.Block();
    for (int i = 0; i < 100; ++i) body.Op(0x24, {1, 0});  // 300 bytes
    script.IfByte(0x10, 4, 0, 0, body);
    EXPECT_EQ(script.Code()[0], 0x15);
    EXPECT_EQ(script.Code()[5] | (script.Code()[6] << 8), 2 + 300);
    script.JumpBack(0);
    const std::size_t end = script.Size();
    EXPECT_EQ(script.Code()[end - 3], 0x13);
    EXPECT_EQ(script.Code()[end - 2] | (script.Code()[end - 1] << 8), 307);
    const std::size_t loop = script.Size();
    script.Op(0x24, {1, 0});
    script.JumpBack(loop);
    EXPECT_EQ(script.Code()[script.Size() - 2], 0x12);
    EXPECT_EQ(script.Code()[script.Size() - 1], 3);
}

}  // namespace
