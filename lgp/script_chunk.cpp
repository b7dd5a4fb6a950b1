#include "lgp/script_chunk.h"

#include <limits>
#include <string>

#include "lgp/byte_reader.h"
#include "lgp/field_layout.h"
#include "lgp/format_error.h"

namespace lgp {

namespace {

// Where the script section's data lie: after its length, for that many bytes.
struct ScriptSection {
    std::size_t lengthPosition;
    std::size_t begin;
    std::size_t end;
};

ScriptSection FindScriptSection(std::span<const std::uint8_t> decoded) {
    // The header's P1 alone: the section's content is the chunk's business.
    lgp::ByteReader reader(decoded);
    reader.Seek(lgp::FieldLayout::kFirstSection);
    ScriptSection section;
    section.lengthPosition = lgp::FieldPosition(reader.ReadI32(), decoded.size());
    reader.Seek(section.lengthPosition);
    const std::uint32_t length = reader.ReadU32();
    section.begin = reader.Position();
    if (length > reader.Remaining()) {
        throw lgp::FormatError("the script section's length " + std::to_string(length) +
                               " reaches past the end of the field file");
    }
    section.end = section.begin + length;
    return section;
}

}  // namespace

std::vector<std::uint8_t> ScriptChunk(std::span<const std::uint8_t> decoded) {
    const ScriptSection section = FindScriptSection(decoded);
    return {decoded.begin() + section.begin, decoded.begin() + section.end};
}

std::vector<std::uint8_t> PutScriptChunk(std::span<const std::uint8_t> decoded,
                                         std::span<const std::uint8_t> chunk) {
    const ScriptSection section = FindScriptSection(decoded);
    // The header's positions are patched below: a section inside the header would be torn.
    if (section.lengthPosition < lgp::FieldLayout::kHeaderSize) {
        throw lgp::FormatError("the script section starts inside the field file header");
    }
    if (chunk.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw lgp::FormatError("a script section of " + std::to_string(chunk.size()) +
                               " bytes is too large for its 4-byte length");
    }
    std::vector<std::uint8_t> file;
    file.reserve(decoded.size() - (section.end - section.begin) + chunk.size());
    file.insert(file.end(), decoded.begin(), decoded.begin() + section.begin);
    file.insert(file.end(), chunk.begin(), chunk.end());
    file.insert(file.end(), decoded.begin() + section.end, decoded.end());
    lgp::PutU32(file, section.lengthPosition, static_cast<std::uint32_t>(chunk.size()));
    lgp::ShiftLaterSections(file, static_cast<std::int64_t>(chunk.size()) -
                                      static_cast<std::int64_t>(section.end - section.begin));
    return file;
}

}  // namespace lgp
