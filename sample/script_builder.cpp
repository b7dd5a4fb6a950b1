#include "sample/script_builder.h"

#include <stdexcept>
#include <string>

#include "lgp/field_opcodes.h"

namespace sample {
namespace {

constexpr std::uint8_t kJumpBack = 0x12;
constexpr std::uint8_t kJumpBackLong = 0x13;
constexpr std::uint8_t kIfByte = 0x14;
constexpr std::uint8_t kIfByteLong = 0x15;

std::uint8_t Low(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t High(int value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }

}  // namespace

ScriptBuilder::ScriptBuilder(DialogueTally& tally)
    : ScriptBuilder(tally, std::make_shared<std::array<bool, 256>>()) {}

ScriptBuilder::ScriptBuilder(DialogueTally& tally,
                             std::shared_ptr<std::array<bool, 256>> windowsOpened)
    : tally_(&tally), windowsOpened_(std::move(windowsOpened)) {}

ScriptBuilder ScriptBuilder::Block() const { return ScriptBuilder(*tally_, windowsOpened_); }

void ScriptBuilder::Op(std::uint8_t opcode, std::span<const std::uint8_t> parameters) {
    const std::uint8_t length = lgp::kOpcodeLengths[opcode];
    if (length == lgp::kOpcodeNeverOccurs || length == lgp::kOpcodeLengthInParameters ||
        length != parameters.size()) {
        throw std::logic_error("opcode " + std::to_string(opcode) + " written with " +
                               std::to_string(parameters.size()) + " parameter bytes");
    }
    code_.U8(opcode);
    code_.Append(parameters);
}

void ScriptBuilder::Special(std::uint8_t subOpcode,
                            std::initializer_list<std::uint8_t> parameters) {
    std::size_t expected = 0;
    if (subOpcode == 0xF5 || subOpcode == 0xFB || subOpcode == 0xFC) expected = 1;
    if (subOpcode == 0xF8 || subOpcode == 0xFD) expected = 2;
    // PNAME (0xF6) and GMSPD (0xF7) take more bytes in the game than the parser's rule gives.
    if (subOpcode < 0xF5 || subOpcode == 0xF6 || subOpcode == 0xF7 ||
        parameters.size() != expected) {
        throw std::logic_error("SPECIAL " + std::to_string(subOpcode) + " written with " +
                               std::to_string(parameters.size()) + " parameter bytes");
    }
    code_.U8(lgp::kOpcodeSpecial);
    code_.U8(subOpcode);
    code_.Append(std::span<const std::uint8_t>(parameters.begin(), parameters.size()));
}

void ScriptBuilder::Kawai(std::uint8_t subOpcode, std::span<const std::uint8_t> parameters) {
    // The length byte counts the opcode, itself, the sub-opcode and the parameters.
    const std::size_t length = 3 + parameters.size();
    if (length > 0xFF) throw std::logic_error("KAWAI opcode too long");
    code_.U8(lgp::kOpcodeKawai);
    code_.U8(static_cast<unsigned>(length));
    code_.U8(subOpcode);
    code_.Append(parameters);
}

void ScriptBuilder::WindowOpcode(std::uint8_t opcode, std::uint8_t id, int x, int y, int width,
                                 int height) {
    Op(opcode,
       {id, Low(x), High(x), Low(y), High(y), Low(width), High(width), Low(height), High(height)});
    (*windowsOpened_)[id] = true;
    ++tally_->windows;
}

void ScriptBuilder::Window(std::uint8_t id, int x, int y, int width, int height) {
    WindowOpcode(lgp::kOpcodeWindow, id, x, y, width, height);
}

void ScriptBuilder::ResizeWindow(std::uint8_t id, int x, int y, int width, int height) {
    WindowOpcode(lgp::kOpcodeWindowSize, id, x, y, width, height);
}

void ScriptBuilder::Message(std::uint8_t window, std::uint8_t text) {
    Op(lgp::kOpcodeMessage, {window, text});
    ++tally_->messages;
    if ((*windowsOpened_)[window]) ++tally_->windowLinks[text];
}

void ScriptBuilder::Ask(std::uint8_t bank, std::uint8_t window, std::uint8_t text,
                        std::uint8_t firstChoice, std::uint8_t lastChoice, std::uint8_t address) {
    Op(lgp::kOpcodeAsk, {bank, window, text, firstChoice, lastChoice, address});
    ++tally_->messages;
    if ((*windowsOpened_)[window]) ++tally_->windowLinks[text];
}

void ScriptBuilder::IfByte(std::uint8_t banks, std::uint8_t address, std::uint8_t value,
                           std::uint8_t comparison, const ScriptBuilder& body) {
    // The jump counts from the jump parameter to the first byte after the body.
    const std::size_t jump = 1 + body.Size();
    if (jump <= 0xFF) {
        Op(kIfByte, {banks, address, value, comparison, static_cast<std::uint8_t>(jump)});
    } else {
        const int longJump = static_cast<int>(jump + 1);
        Op(kIfByteLong, {banks, address, value, comparison, Low(longJump), High(longJump)});
    }
    code_.Append(body.Code());
}

void ScriptBuilder::JumpBack(std::size_t target) {
    const std::size_t distance = code_.Size() - target;
    if (distance <= 0xFF) {
        Op(kJumpBack, {static_cast<std::uint8_t>(distance)});
    } else {
        const int far = static_cast<int>(distance);
        Op(kJumpBackLong, {Low(far), High(far)});
    }
}

}  // namespace sample
