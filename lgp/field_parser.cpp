#include "lgp/field_parser.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "lgp/byte_reader.h"
#include "lgp/field_layout.h"
#include "lgp/format_error.h"
#include "lgp/printable_name.h"
#include "text/character_table.h"

namespace lgp {

const std::uint8_t kOpcodeLengths[256] = {
    0,  2,  2,  2,  2,  2,  2,  1,  1,  14, 5,  5,  99, 99, 1,  255,  // 0x00
    1,  2,  1,  2,  5,  6,  7,  8,  7,  8,  99, 99, 99, 99, 99, 99,   // 0x10
    10, 1,  4,  2,  2,  8,  1,  1,  255, 0, 1,  1,  4,  6,  1,  9,    // 0x20
    3,  3,  3,  1,  1,  3,  4,  7,  5,  5,  5,  3,  0,  0,  0,  0,    // 0x30
    2,  4,  5,  1,  99, 4,  99, 4,  6,  3,  1,  1,  99, 4,  99, 4,   // 0x40
    9,  5,  3,  1,  1,  2,  6,  6,  4,  4,  4,  6,  7,  8,  7,  0,    // 0x50
    9,  1,  4,  5,  5,  0,  8,  0,  8,  1,  6,  8,  0,  3,  2,  5,    // 0x60
    3,  1,  2,  3,  3,  7,  3,  4,  3,  4,  2,  2,  2,  2,  1,  2,    // 0x70
    3,  4,  3,  3,  3,  3,  4,  3,  4,  3,  4,  3,  4,  3,  4,  3,    // 0x80
    4,  3,  4,  3,  4,  2,  2,  2,  2,  2,  3,  4,  5,  6,  6,  10,   // 0x90
    1,  1,  2,  2,  1,  10, 8,  8,  5,  5,  1,  3,  0,  5,  2,  2,    // 0xA0
    4,  4,  3,  2,  5,  5,  1,  3,  4,  3,  2,  4,  4,  3,  99, 1,    // 0xB0
    10, 7,  14, 11, 0,  2,  2,  1,  1,  1,  3,  2,  2,  2,  1,  1,    // 0xC0
    12, 1,  1,  15, 9,  9,  3,  3,  2,  0,  14, 1,  3,  0,  0,  10,   // 0xD0
    3,  3,  2,  2,  2,  4,  4,  4,  6,  9,  9,  4,  4,  7,  7,  10,   // 0xE0
    1,  4,  13, 1,  1,  1,  1,  3,  1,  0,  2,  1,  1,  5,  2,  0,    // 0xF0
};

namespace {

constexpr std::size_t kScriptsPerEntity = 32;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

std::size_t SpecialParameters(std::uint8_t subOpcode) {
    switch (subOpcode) {
        case 0xF5:
        case 0xFB:
        case 0xFC: return 1;
        case 0xF8:
        case 0xFD: return 2;
        default: return 0;
    }
}

// A message as met during the walk, with the window that shows it, if any.
struct ShownText {
    std::uint8_t textId;
    std::size_t entity;
    std::size_t script;
    std::size_t window;
};

class FieldParser {
public:
    FieldParser(TLGPSubFile& level, std::span<const std::uint8_t> data)
        : level_(level), data_(data), reader_(data) {}

    void Parse() {
        const lgp::FieldLayout layout = lgp::ReadFieldLayout(data_);
        sectionEnd_ = layout.nextSection;
        base_ = layout.base;
        textSection_ = layout.textSection;
        akao_.assign(layout.akao.begin(), layout.akao.end());
        const std::size_t entities = layout.entities;
        const std::size_t scriptTable = layout.scriptTable;

        level_.Entities.clear();
        level_.Entities.reserve(entities);
        for (std::size_t e = 0; e < entities && !stopped_; ++e) {
            WalkEntity(e, scriptTable + e * 2 * kScriptsPerEntity, e + 1 == entities);
        }

        level_.Texts.clear();
        level_.SavedTexts.clear();
        level_.CompareMarks.clear();
        const std::vector<std::size_t> positions = ReadTextPositions();
        if (positions.empty()) return;
        if (stoppedEarly_) throw lgp::FormatError("an invalid opcode stops the script walk");
        ReadTexts(positions);
    }

    // Why the level must not be rebuilt, empty when it may.
    const std::string& Damage() const { return damage_; }

private:
    // Absolute position of a signed offset, checked to lie inside the data.
    std::size_t Position(std::int64_t position) const {
        return lgp::FieldPosition(position, data_.size());
    }

    void WalkEntity(std::size_t entityIndex, std::size_t table, bool last) {
        reader_.Seek(table);
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < kScriptsPerEntity; ++i) {
            const std::size_t position = reader_.ReadU16();
            if (starts.empty() || starts.back() != position) starts.push_back(position);
        }
        const std::size_t next = reader_.ReadU16();
        starts.push_back(last ? textSection_ : next);

        TEntity& entity = level_.Entities.emplace_back();
        entity.Scripts.resize(starts.size() - 1);
        for (std::size_t s = 0; s + 1 < starts.size() && !stopped_; ++s) {
            WalkScript(entityIndex, s, base_ + starts[s], base_ + starts[s + 1]);
            if (stopped_ && !(last && s + 2 == starts.size())) stoppedEarly_ = true;
        }
    }

    void WalkScript(std::size_t entityIndex, std::size_t scriptIndex, std::size_t begin,
                    std::size_t end) {
        TScript& script = level_.Entities[entityIndex].Scripts[scriptIndex];
        // The last window of each number met so far in this script: the one a message uses.
        std::array<std::size_t, 256> lastWindow;
        lastWindow.fill(kNone);
        reader_.Seek(Position(static_cast<std::int64_t>(begin)));
        while (reader_.Position() < end) {
            const auto offset = static_cast<std::int32_t>(reader_.Position());
            const std::uint8_t opcode = reader_.ReadU8();
            const std::uint8_t length = kOpcodeLengths[opcode];
            if (length == kOpcodeNeverOccurs) {
                stopped_ = true;
                return;
            }
            switch (opcode) {
                case kOpcodeSpecial: reader_.Skip(SpecialParameters(reader_.ReadU8())); break;
                case kOpcodeKawai: {
                    const std::uint8_t size = reader_.ReadU8();
                    if (size == 0) throw lgp::FormatError("a KAWAI opcode has length 0");
                    reader_.Seek(Position(offset + std::int64_t{size}));
                    break;
                }
                case kOpcodeMessage:
                case kOpcodeAsk: {
                    TMessage message;
                    message.Offset = offset;
                    message.Ask = opcode == kOpcodeAsk;
                    if (message.Ask) reader_.Skip(1);  // the bank of the answer's variable
                    message.WindowId = reader_.ReadU8();
                    message.TextId = reader_.ReadU8();
                    if (message.Ask) {
                        message.FirstChoice = reader_.ReadU8();
                        message.LastChoice = reader_.ReadU8();
                        reader_.Skip(1);  // the answer's variable
                    }
                    script.Messages.push_back(message);
                    if (const std::size_t window = lastWindow[message.WindowId]; window != kNone) {
                        shown_.push_back({message.TextId, entityIndex, scriptIndex, window});
                    }
                    break;
                }
                case kOpcodeWindow:
                case kOpcodeWindowSize: {
                    TWindow window;
                    window.Offset = offset;
                    window.WindowId = reader_.ReadU8();
                    window.X = window.SavedX = reader_.ReadI16();
                    window.Y = window.SavedY = reader_.ReadI16();
                    window.Width = window.SavedWidth = reader_.ReadU16();
                    window.Height = window.SavedHeight = reader_.ReadU16();
                    lastWindow[window.WindowId] = script.Windows.size();
                    script.Windows.push_back(window);
                    break;
                }
                default: reader_.Skip(length);
            }
        }
    }

    // The text position list, empty when the level has no texts.
    std::vector<std::size_t> ReadTextPositions() {
        const std::size_t texts = base_ + textSection_;
        const std::size_t smallestAkao =
            akao_.empty() ? kNone : *std::min_element(akao_.begin(), akao_.end());
        if (smallestAkao != kNone && textSection_ >= smallestAkao) return {};
        if (sectionEnd_ - static_cast<std::int64_t>(texts) <= 4) return {};

        std::vector<std::size_t> positions;
        reader_.Seek(Position(static_cast<std::int64_t>(texts) + 2));
        while (true) {
            positions.push_back(reader_.ReadU16());
            if (positions.back() == 0 || reader_.Position() >= texts + positions.front()) break;
        }
        if (smallestAkao != kNone && reader_.Position() == base_ + smallestAkao) return {};
        // The texts behind a 0 that cuts the list short are not read: rebuilding would drop them.
        if (reader_.Position() < texts + positions.front()) {
            NoteDamage("its text position list claims " +
                       std::to_string((positions.front() - 1) / 2) +
                       " texts, but a 0 ends it after " + std::to_string(positions.size()));
        }
        return positions;
    }

    void ReadTexts(const std::vector<std::size_t>& positions) {
        const std::size_t texts = base_ + textSection_;
        // Texts stop at the first Akao block as listed, which is not always the nearest.
        const std::size_t akaoStop = akao_.empty() ? kNone : base_ + akao_.front();
        // Where the text section ends: at that block, else where the next section begins.
        const std::size_t sectionEnd =
            akaoStop != kNone ? akaoStop : static_cast<std::size_t>(sectionEnd_);
        const std::size_t listEnd = 2 + 2 * positions.size();
        level_.Texts.resize(positions.size());
        for (std::size_t t = 0; t < positions.size(); ++t) {
            std::vector<std::uint8_t>& bytes = level_.Texts[t].Bytes;
            const std::size_t start = Position(static_cast<std::int64_t>(texts + positions[t]));
            const std::string text = "text " + std::to_string(t + 1) + " starts at " +
                                     std::to_string(positions[t]) + " in the text section, ";
            if (positions[t] < listEnd) NoteDamage(text + "inside its position list");
            // What lies there is another section's data: the text has none of its own.
            if (start > sectionEnd) {
                NoteDamage(text + "past its end at " + std::to_string(sectionEnd - texts));
            }
            if (start >= sectionEnd) continue;
            reader_.Seek(start);
            // A text with no 0xFF before the end of the data keeps the bytes up to that end.
            while (reader_.Remaining() > 0 && reader_.Position() != akaoStop) {
                bytes.push_back(reader_.ReadU8());
                if (bytes.back() == text::kTerminatorCode) break;
            }
        }
        for (const ShownText& shown : shown_) {
            if (shown.textId >= level_.Texts.size()) continue;
            TScript& script = level_.Entities[shown.entity].Scripts[shown.script];
            level_.Texts[shown.textId].Windows.push_back(&script.Windows[shown.window]);
        }
        for (const TLevelText& text : level_.Texts) level_.SavedTexts.push_back(text.Bytes);
        level_.CompareMarks.assign(level_.Texts.size(), 0);
    }

    // The first reason found is the one given.
    void NoteDamage(const std::string& reason) {
        if (damage_.empty()) damage_ = reason;
    }

    TLGPSubFile& level_;
    std::span<const std::uint8_t> data_;
    lgp::ByteReader reader_;
    std::string damage_;
    std::size_t base_ = 0;
    std::int64_t sectionEnd_ = 0;
    std::size_t textSection_ = 0;
    std::vector<std::size_t> akao_;
    std::vector<ShownText> shown_;
    bool stopped_ = false;
    bool stoppedEarly_ = false;
};

}  // namespace

std::string ParseFieldFileKeepingDamage(TLGPSubFile& subFile,
                                        std::span<const std::uint8_t> decoded) {
    subFile.Unreadable = false;
    try {
        FieldParser parser(subFile, decoded);
        parser.Parse();
        subFile.Damage = parser.Damage();
        return {};
    } catch (const lgp::FormatError& error) {
        subFile.Texts.clear();
        subFile.SavedTexts.clear();
        subFile.CompareMarks.clear();
        subFile.Entities.clear();
        subFile.Damage = error.what();
        subFile.Unreadable = true;
        return subFile.Damage;
    }
}

void ParseFieldFile(TLGPSubFile& subFile, std::span<const std::uint8_t> decoded) {
    const std::string failure = ParseFieldFileKeepingDamage(subFile, decoded);
    if (failure.empty()) return;
    subFile.Damage.clear();
    subFile.Unreadable = false;
    throw lgp::FormatError("level " + lgp::PrintableName(subFile.Name) + ": " + failure);
}

}  // namespace lgp
