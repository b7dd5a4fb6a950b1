#include "lgp/field_layout.h"

#include <string>

#include "lgp/byte_reader.h"
#include "lgp/format_error.h"

namespace lgp {

FieldLayout ReadFieldLayout(std::span<const std::uint8_t> decoded) {
    FieldLayout layout;
    ByteReader reader(decoded);
    reader.Seek(FieldLayout::kFirstSection);
    layout.scriptSection = reader.ReadI32();
    layout.nextSection = reader.ReadI32();
    layout.base = FieldPosition(std::int64_t{layout.scriptSection} + 4, decoded.size());

    reader.Seek(FieldPosition(static_cast<std::int64_t>(layout.base) + 2, decoded.size()));
    layout.entities = reader.ReadU8();
    reader.Skip(1);
    layout.textSection = reader.ReadU16();
    const std::size_t akaoCount = reader.ReadU16();
    layout.akaoList = FieldPosition(
        static_cast<std::int64_t>(layout.base + 32 + 8 * layout.entities), decoded.size());
    reader.Seek(layout.akaoList);
    layout.akao.reserve(akaoCount);
    for (std::size_t i = 0; i < akaoCount; ++i) layout.akao.push_back(reader.ReadU32());
    layout.scriptTable = reader.Position();
    return layout;
}

std::size_t FieldPosition(std::int64_t position, std::size_t size) {
    if (position < 0 || static_cast<std::uint64_t>(position) > size) {
        throw FormatError("position " + std::to_string(position) + " lies outside the field file");
    }
    return static_cast<std::size_t>(position);
}

void PutU16(std::vector<std::uint8_t>& file, std::size_t position, std::uint16_t value) {
    file[position] = static_cast<std::uint8_t>(value);
    file[position + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& file, std::size_t position, std::uint32_t value) {
    PutU16(file, position, static_cast<std::uint16_t>(value));
    PutU16(file, position + 2, static_cast<std::uint16_t>(value >> 16));
}

void ShiftLaterSections(std::vector<std::uint8_t>& file, std::int64_t shift) {
    ByteReader reader(file);
    for (std::size_t i = 1; i < FieldLayout::kSectionCount; ++i) {
        const std::size_t position = FieldLayout::kFirstSection + 4 * i;
        reader.Seek(position);
        const std::int64_t section = reader.ReadU32();
        PutU32(file, position, static_cast<std::uint32_t>(section + shift));
    }
}

}  // namespace lgp
