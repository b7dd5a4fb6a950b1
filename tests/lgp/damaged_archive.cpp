#include "tests/lgp/damaged_archive.h"

#include "lgp/lgp_file.h"
#include "lzs/decode_stream.h"
#include "lzs/hash_stream.h"

namespace lgp_test {
namespace {

std::size_t U16(const Bytes& bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }
std::size_t U32(const Bytes& bytes, std::size_t at) {
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

void Spoil(Bytes& level, LevelDamage damage) {
    const std::size_t base = U32(level, 6) + 4;
    if (damage == LevelDamage::Unreadable) {
        level.resize(base + 8);
        return;
    }
    const std::size_t texts = base + U16(level, base + 4);
    // The list of positions runs from texts + 2 up to the first text.
    const std::size_t last = texts + U16(level, texts + 2) - 2;
    level[last] = 0xFF;
    level[last + 1] = 0xFF;
}

}  // namespace

Bytes DamagedCopy(const std::string& path, const std::map<std::string, LevelDamage>& damages) {
    TLGPFile archive;
    archive.ReadTableOfContents(path);
    ArchiveBuilder builder;
    for (const auto& subFile : archive.SubFiles) {
        Bytes stored = archive.ReadStoredData(*subFile);
        if (const auto damage = damages.find(subFile->Name); damage != damages.end()) {
            Bytes level = lzs::DecodeStream(stored);
            Spoil(level, damage->second);
            stored = lzs::CompressHashedStream(level);
        }
        builder.Add(subFile->Name, stored);
    }
    return builder.Build();
}

}  // namespace lgp_test
