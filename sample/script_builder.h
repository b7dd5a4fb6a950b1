#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "sample/byte_writer.h"

namespace sample {

// What the dialogue opcodes of one level come to, counted while its scripts are written, so
// that a parser's findings can be checked against them.
struct DialogueTally {
    int windows = 0;   // WINDOW and WSIZW opcodes
    int messages = 0;  // MESSAGE and ASK opcodes
    // Per text number: the messages that show the text after a window opcode of their window
    // number earlier in the same script, each of which puts a window into the text's list.
    std::array<int, 256> windowLinks{};
};

// Writes the code of one entity script, opcode by opcode, always with the parameter length
// the opcode length table gives, and keeps the level's DialogueTally up to date.
class ScriptBuilder {
public:
    explicit ScriptBuilder(DialogueTally& tally);

    // A builder for a block that will be appended to this script (the body of a condition):
    // windows opened in it count for the messages that follow it in this script.
    ScriptBuilder Block() const;

    std::size_t Size() const { return code_.Size(); }
    const std::vector<std::uint8_t>& Code() const { return code_.Bytes(); }

    // Any opcode whose length the table gives; throws std::logic_error when the parameter
    // count differs from the table or the opcode is one the table marks as never occurring.
    void Op(std::uint8_t opcode, std::span<const std::uint8_t> parameters);
    void Op(std::uint8_t opcode, std::initializer_list<std::uint8_t> parameters) {
        Op(opcode, std::span<const std::uint8_t>(parameters.begin(), parameters.size()));
    }
    // SPECIAL with one of the sub-opcodes 0xF5 and 0xF8 to 0xFF, whose further bytes (none,
    // one or two) the parser reads as the game does; throws std::logic_error for any other
    // sub-opcode or a wrong number of bytes.
    void Special(std::uint8_t subOpcode, std::initializer_list<std::uint8_t> parameters);
    // KAWAI, the character graphics opcode whose length byte counts the whole opcode.
    void Kawai(std::uint8_t subOpcode, std::span<const std::uint8_t> parameters);

    // WINDOW: opens window `id` at (x, y) with the given size.
    void Window(std::uint8_t id, int x, int y, int width, int height);
    // WSIZW: moves and resizes window `id`.
    void ResizeWindow(std::uint8_t id, int x, int y, int width, int height);
    void Message(std::uint8_t window, std::uint8_t text);
    // ASK: shows a question text; the answer (line firstChoice to lastChoice) goes to the
    // variable at `address` of bank `bank`.
    void Ask(std::uint8_t bank, std::uint8_t window, std::uint8_t text, std::uint8_t firstChoice,
             std::uint8_t lastChoice, std::uint8_t address);

    // IFUB (IFUBL for a long body): the body runs when the byte variable compares true.
    void IfByte(std::uint8_t banks, std::uint8_t address, std::uint8_t value,
                std::uint8_t comparison, const ScriptBuilder& body);
    // The code of a block made by Block(), run unconditionally.
    void Append(const ScriptBuilder& block) { code_.Append(block.Code()); }
    // JMPB (JMPBL when far): jumps back to the code position `target` of this script.
    void JumpBack(std::size_t target);
    // RET, the end of a script.
    void Return() { Op(0x00, {}); }

private:
    ScriptBuilder(DialogueTally& tally, std::shared_ptr<std::array<bool, 256>> windowsOpened);
    void WindowOpcode(std::uint8_t opcode, std::uint8_t id, int x, int y, int width, int height);

    ByteWriter code_;
    DialogueTally* tally_;
    // The window numbers opened so far in this script, shared with the script's blocks.
    std::shared_ptr<std::array<bool, 256>> windowsOpened_;
};

}  // namespace sample
