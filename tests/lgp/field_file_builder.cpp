#include "tests/lgp/field_file_builder.h"

#include <numeric>

namespace lgp_test {
namespace {

void Put16(Bytes& out, std::size_t position, std::uint32_t value) {
    out[position] = static_cast<std::uint8_t>(value);
    out[position + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& out, std::size_t position, std::uint32_t value) {
    Put16(out, position, value & 0xFFFF);
    Put16(out, position + 2, value >> 16);
}

void Append16(Bytes& out, std::uint32_t value) {
    out.resize(out.size() + 2);
    Put16(out, out.size() - 2, value);
}

}  // namespace

Bytes Window(std::uint8_t id, std::int16_t x, std::int16_t y, std::uint16_t width,
             std::uint16_t height, std::uint8_t opcode) {
    Bytes out = {opcode, id};
    for (int value : {int{x}, int{y}, int{width}, int{height}}) {
        Append16(out, static_cast<std::uint32_t>(value) & 0xFFFF);
    }
    return out;
}

Bytes Message(std::uint8_t window, std::uint8_t text) { return {0x40, window, text}; }

Bytes Ask(std::uint8_t window, std::uint8_t text, std::uint8_t firstChoice,
          std::uint8_t lastChoice) {
    return {0x48, 0, window, text, firstChoice, lastChoice, 0};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

FieldFileBuilder& FieldFileBuilder::Entity(std::vector<Bytes> scripts) {
    entities_.push_back(std::move(scripts));
    return *this;
}

FieldFileBuilder& FieldFileBuilder::Texts(std::vector<Bytes> texts) {
    texts_ = std::move(texts);
    return *this;
}

FieldFileBuilder& FieldFileBuilder::TextPositions(std::vector<std::uint16_t> positions) {
    positions_ = std::move(positions);
    return *this;
}

FieldFileBuilder& FieldFileBuilder::Akao(std::vector<Bytes> blocks, std::vector<int> listed) {
    akao_ = std::move(blocks);
    if (listed.empty()) {
        listed.resize(akao_.size());
        std::iota(listed.begin(), listed.end(), 0);
    }
    akaoListed_ = std::move(listed);
    return *this;
}

FieldFileBuilder& FieldFileBuilder::NoTextSection() {
    textSection_ = false;
    return *this;
}

std::size_t FieldFileBuilder::ScriptPosition(std::size_t entity, std::size_t script) const {
    std::size_t position = kBase + 32 + 8 * entities_.size() + 4 * akao_.size() +
                           64 * entities_.size() + 2;
    for (std::size_t e = 0; e < entities_.size(); ++e) {
        for (std::size_t s = 0; s < entities_[e].size(); ++s) {
            if (e == entity && s == script) return position;
            position += entities_[e][s].size();
        }
    }
    return position;
}

Bytes FieldFileBuilder::Build() const {
    // The script section, positions relative to its base S.
    const std::size_t entities = entities_.size();
    Bytes section(32 + 8 * entities + 4 * akao_.size() + 64 * entities + 2, 0);
    section[2] = static_cast<std::uint8_t>(entities);
    Put16(section, 6, static_cast<std::uint32_t>(akao_.size()));
    const std::size_t table = 32 + 8 * entities + 4 * akao_.size();
    for (std::size_t e = 0; e < entities; ++e) {
        std::size_t slot = 0;
        std::size_t last = section.size();
        for (const Bytes& script : entities_[e]) {
            last = section.size();
            Put16(section, table + 64 * e + 2 * slot++, static_cast<std::uint32_t>(last));
            section.insert(section.end(), script.begin(), script.end());
        }
        // Unused slots repeat the last script's start, as the game's files do.
        for (; slot < 32; ++slot) Put16(section, table + 64 * e + 2 * slot, static_cast<std::uint32_t>(last));
    }
    const std::size_t textSection = section.size();
    Put16(section, 4, static_cast<std::uint32_t>(textSection));
    if (textSection_) {
        Append16(section, static_cast<std::uint32_t>(texts_.size()));
        std::vector<std::uint16_t> positions;
        std::size_t position = 2 + 2 * texts_.size();
        for (const Bytes& text : texts_) {
            positions.push_back(static_cast<std::uint16_t>(position));
            position += text.size();
        }
        for (std::uint16_t value : positions_.value_or(positions)) Append16(section, value);
        for (const Bytes& text : texts_) section.insert(section.end(), text.begin(), text.end());
    }
    std::vector<std::size_t> akaoPositions;
    for (const Bytes& block : akao_) {
        akaoPositions.push_back(section.size());
        section.insert(section.end(), block.begin(), block.end());
    }
    for (std::size_t i = 0; i < akaoListed_.size(); ++i) {
        Put32(section, 32 + 8 * entities + 4 * i,
              static_cast<std::uint32_t>(akaoPositions[static_cast<std::size_t>(akaoListed_[i])]));
    }

    Bytes out(42, 0);
    Put32(out, 2, 9);
    const std::size_t scriptStart = out.size();
    Put32(out, 6, static_cast<std::uint32_t>(scriptStart));
    Append16(out, 0);
    Append16(out, 0);
    Put32(out, scriptStart, static_cast<std::uint32_t>(section.size()));
    out.insert(out.end(), section.begin(), section.end());
    for (int i = 1; i < 9; ++i) Put32(out, 6 + 4 * i, static_cast<std::uint32_t>(out.size()));
    // The next section: its own length and a little camera data.
    const Bytes next = {8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    out.insert(out.end(), next.begin(), next.end());
    return out;
}

}  // namespace lgp_test
