#include "lgp/field_rebuilder.h"

#include <limits>
#include <string>

#include "lgp/byte_reader.h"
#include "lgp/field_layout.h"
#include "lgp/field_opcodes.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "lgp/printable_name.h"
#include "text/character_table.h"

namespace lgp {

namespace {

// A window opcode: opcode byte, window number, then X, Y, Width and Height.
constexpr std::size_t kWindowValues = 2;
constexpr std::size_t kWindowOpcodeSize = 10;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

void Append16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The rebuilt file keeps the bytes before the text section in place and patches them there;
// a value reaching into the replaced text section would be lost or would corrupt it.
void RequireBefore(std::size_t end, std::size_t textSection, const std::string& what) {
    if (end > textSection) {
        throw lgp::FormatError(what + " reaches into the text section at " +
                               std::to_string(textSection));
    }
}

// Writes every window's current values into its opcode, which must lie wholly below `limit`
// (`limitName` says what that position is) and still be a window opcode: anything else means the
// model does not belong to this data, and writing would corrupt it.
void WriteWindows(const TLGPSubFile& level, std::span<const std::uint8_t> decoded,
                  std::vector<std::uint8_t>& file, std::size_t limit,
                  const std::string& limitName) {
    lgp::ByteReader reader(decoded);
    for (const TEntity& entity : level.Entities) {
        for (const TScript& script : entity.Scripts) {
            for (const TWindow& window : script.Windows) {
                const std::size_t offset = lgp::FieldPosition(window.Offset, decoded.size());
                if (offset + kWindowOpcodeSize > limit) {
                    throw lgp::FormatError("the window opcode at " + std::to_string(offset) +
                                           " runs past " + limitName);
                }
                reader.Seek(offset);
                const std::uint8_t opcode = reader.ReadU8();
                if (opcode != kOpcodeWindow && opcode != kOpcodeWindowSize) {
                    throw lgp::FormatError("there is no window opcode at " +
                                           std::to_string(offset));
                }
                const std::size_t values = offset + kWindowValues;
                lgp::PutU16(file, values, static_cast<std::uint16_t>(window.X));
                lgp::PutU16(file, values + 2, static_cast<std::uint16_t>(window.Y));
                lgp::PutU16(file, values + 4, window.Width);
                lgp::PutU16(file, values + 6, window.Height);
            }
        }
    }
}

// Count, positions relative to the section's start, then the texts as held.
std::vector<std::uint8_t> NewTextSection(const TLGPSubFile& level) {
    std::vector<std::uint8_t> section;
    section.reserve(TextSectionSize(level));
    const std::size_t count = level.Texts.size();
    Append16(section, count);
    std::size_t position = 2 + 2 * count;
    for (const TLevelText& text : level.Texts) {
        Append16(section, position);
        position += text.Bytes.size();
    }
    for (const TLevelText& text : level.Texts) {
        section.insert(section.end(), text.Bytes.begin(), text.Bytes.end());
    }
    return section;
}

std::vector<std::uint8_t> Rebuild(const TLGPSubFile& level,
                                  std::span<const std::uint8_t> decoded) {
    // Without parsed texts the bytes at T are no text section the parser could read (an empty
    // list, a section behind an Akao block, a tiny one): rewriting them would destroy data.
    if (level.Texts.empty() && level.SavedTexts.empty()) {
        std::vector<std::uint8_t> file(decoded.begin(), decoded.end());
        WriteWindows(level, decoded, file, file.size(), "the end of the data");
        return file;
    }

    const lgp::FieldLayout layout = lgp::ReadFieldLayout(decoded);
    const std::size_t base = layout.base;
    const std::size_t textSection =
        lgp::FieldPosition(static_cast<std::int64_t>(base + layout.textSection), decoded.size());
    const std::size_t lengthPosition = lgp::FieldPosition(layout.scriptSection, decoded.size());
    const std::vector<std::uint32_t>& akao = layout.akao;
    RequireBefore(lgp::FieldLayout::kHeaderSize, textSection, "the field file header");
    RequireBefore(lengthPosition + 4, textSection, "the script section's length");
    RequireBefore(layout.scriptTable, textSection, "the Akao position list");

    // The last entry of the position list, which ends where the first text begins. A first
    // position below 4 leaves no room for a second entry: the list is that entry alone.
    lgp::ByteReader reader(decoded);
    reader.Seek(lgp::FieldPosition(static_cast<std::int64_t>(textSection) + 2, decoded.size()));
    const std::size_t first = reader.ReadU16();
    std::size_t last = first;
    if (first >= 4) {
        reader.Seek(textSection + first - 2);
        last = reader.ReadU16();
    }

    // The old section ends after the last text's 0xFF. Like the parser, stop at the first
    // listed Akao block: a last text without 0xFF ends there, and the block must survive. A
    // last text that starts where the section ends (that block, or the next section) is empty.
    const std::size_t akaoStop = akao.empty() ? kNone : base + akao.front();
    const std::size_t sectionEnd =
        akao.empty() ? static_cast<std::size_t>(static_cast<std::uint32_t>(layout.nextSection)) : akaoStop;
    reader.Seek(lgp::FieldPosition(static_cast<std::int64_t>(textSection + last), decoded.size()));
    if (reader.Position() != sectionEnd) {
        while (reader.Remaining() > 0 && reader.Position() != akaoStop) {
            if (reader.ReadU8() == text::kTerminatorCode) break;
        }
    }
    const std::size_t oldEnd = reader.Position();

    const std::vector<std::uint8_t> section = NewTextSection(level);
    const std::int64_t shift = static_cast<std::int64_t>(section.size()) -
                               static_cast<std::int64_t>(oldEnd - textSection);

    std::vector<std::uint8_t> file;
    file.reserve(decoded.size() - (oldEnd - textSection) + section.size());
    file.insert(file.end(), decoded.begin(), decoded.begin() + textSection);
    file.insert(file.end(), section.begin(), section.end());
    file.insert(file.end(), decoded.begin() + oldEnd, decoded.end());

    // Everything patched below lies before the text section, where old and new file agree.
    lgp::ShiftLaterSections(file, shift);
    for (std::size_t i = 0; i < akao.size(); ++i) {
        lgp::PutU32(file, layout.akaoList + 4 * i,
                    static_cast<std::uint32_t>(std::int64_t{akao[i]} + shift));
    }
    // The script section's length grows with it, so that whoever reads the section by its
    // length (a mod folder's chunk of it, for one) finds it whole; unchanged sizes keep it.
    const std::int64_t length = lgp::ByteReader(file, lengthPosition).ReadU32();
    lgp::PutU32(file, lengthPosition, static_cast<std::uint32_t>(length + shift));
    WriteWindows(level, decoded, file, textSection,
                 "the start of the text section at " + std::to_string(textSection));
    return file;
}

// Rebuild, with a malformed file's error naming the level.
std::vector<std::uint8_t> RebuildNamingLevel(const TLGPSubFile& level,
                                             std::span<const std::uint8_t> decoded) {
    try {
        return Rebuild(level, decoded);
    } catch (const lgp::FormatError& error) {
        throw lgp::FormatError("level " + lgp::PrintableName(level.Name) + ": " + error.what());
    }
}

}  // namespace

bool WindowsChanged(const TLGPSubFile& subFile) {
    if (!lgp::IsLevel(subFile)) return false;
    for (const TEntity& entity : subFile.Entities) {
        for (const TScript& script : entity.Scripts) {
            for (const TWindow& window : script.Windows) {
                if (window.Changed()) return true;
            }
        }
    }
    return false;
}

bool TextsChanged(const TLGPSubFile& subFile) {
    // Entry by entry: joining the texts with line breaks would let a text that gained a
    // line-break byte look equal to one split in two.
    if (!lgp::IsLevel(subFile)) return false;
    if (subFile.Texts.size() != subFile.SavedTexts.size()) return true;
    for (std::size_t i = 0; i < subFile.Texts.size(); ++i) {
        if (subFile.Texts[i].Bytes != subFile.SavedTexts[i]) return true;
    }
    return false;
}

std::size_t TextSectionSize(const TLGPSubFile& level) {
    std::size_t size = 2;
    for (const TLevelText& text : level.Texts) size += 2 + text.Bytes.size();
    return size;
}

void CheckTextSectionSize(const TLGPSubFile& level) {
    const std::size_t size = TextSectionSize(level);
    if (size > kMaxTextSectionSize) {
        throw lgp::FormatError("level " + lgp::PrintableName(level.Name) +
                               ": its texts need a text section of " + std::to_string(size) +
                               " bytes, more than the " + std::to_string(kMaxTextSectionSize) +
                               " that 16-bit text positions can address");
    }
}

void CheckRebuildable(const TLGPSubFile& level) {
    // Rebuilding replaces the text section as the texts read describe it: where they are not
    // all of it, the rest would be lost.
    if (!level.Damage.empty()) {
        throw lgp::FormatError("level " + lgp::PrintableName(level.Name) +
                               " cannot be changed: " + level.Damage);
    }
    CheckTextSectionSize(level);
}

std::vector<std::uint8_t> RebuildFieldFile(const TLGPSubFile& level,
                                           std::span<const std::uint8_t> decoded) {
    CheckRebuildable(level);
    return RebuildNamingLevel(level, decoded);
}

std::vector<std::uint8_t> RebuildFieldFile(const TLGPFile& archive, const TLGPSubFile& level) {
    // Refused before the archive is read and decoded for nothing.
    CheckRebuildable(level);
    return RebuildNamingLevel(level, archive.ReadSubFile(level));
}

}  // namespace lgp
