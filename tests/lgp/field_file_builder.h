#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace lgp_test {

using Bytes = std::vector<std::uint8_t>;

// Opcode helpers: each returns the opcode with its parameters.
Bytes Window(std::uint8_t id, std::int16_t x, std::int16_t y, std::uint16_t width,
             std::uint16_t height, std::uint8_t opcode = 0x50);
Bytes Message(std::uint8_t window, std::uint8_t text);
// ASK with bank 0, its choices on lines firstChoice to lastChoice, and variable 0.
Bytes Ask(std::uint8_t window, std::uint8_t text, std::uint8_t firstChoice = 0,
          std::uint8_t lastChoice = 1);
Bytes Concat(std::initializer_list<Bytes> parts);

// Lays out a decoded field file: a 42-byte header with nine section positions, the script
// section (header, entity names, Akao positions, script table, script code, text section,
// Akao blocks), then one more section.
class FieldFileBuilder {
public:
    // Adds an entity with these scripts (at most 32); unused script slots repeat the last.
    FieldFileBuilder& Entity(std::vector<Bytes> scripts);
    // Texts stored in the text section, each as given (add the 0xFF yourself).
    FieldFileBuilder& Texts(std::vector<Bytes> texts);
    // Replaces the computed text position list.
    FieldFileBuilder& TextPositions(std::vector<std::uint16_t> positions);
    // Akao blocks placed after the text section; their positions are listed in this order
    // unless `listed` gives the order of the listing.
    FieldFileBuilder& Akao(std::vector<Bytes> blocks, std::vector<int> listed = {});
    // Leaves the text section out (T at the end of the script code, nothing stored there).
    FieldFileBuilder& NoTextSection();

    Bytes Build() const;

    // Position of the script section's base S in the built file.
    static constexpr std::size_t kBase = 42 + 4;
    // Position in the built file of script `script` of entity `entity`'s code.
    std::size_t ScriptPosition(std::size_t entity, std::size_t script) const;

private:
    std::vector<std::vector<Bytes>> entities_;
    std::vector<Bytes> texts_;
    std::optional<std::vector<std::uint16_t>> positions_;
    std::vector<Bytes> akao_;
    std::vector<int> akaoListed_;
    bool textSection_ = true;
};

}  // namespace lgp_test
