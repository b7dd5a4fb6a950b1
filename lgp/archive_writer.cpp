#include "lgp/archive_writer.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "lgp/field_rebuilder.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "lgp/printable_name.h"
#include "lzs/decode_stream.h"

namespace {

constexpr char kTerminator[] = "FINAL FANTASY7";
constexpr std::size_t kCreatorSize = 12;
constexpr std::size_t kCopyChunk = 1 << 20;

bool NeedsRebuild(const TLGPSubFile& subFile) {
    return lgp::IsLevel(subFile) && (TextsChanged(subFile) || WindowsChanged(subFile));
}

// Writes bytes to the target; throws lgp::FileError when the target refuses them.
void Put(std::ostream& target, const void* bytes, std::size_t count) {
    target.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    if (!target) throw lgp::FileError("cannot write the new archive");
}

void PutI32(std::ostream& target, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                   static_cast<std::uint8_t>(bits >> 16),
                                   static_cast<std::uint8_t>(bits >> 24)};
    Put(target, bytes, 4);
}

// A name or creator cut to `width` characters; padding is the caller's.
std::string Cut(const std::string& text, std::size_t width) { return text.substr(0, width); }

void PutName(std::ostream& target, const std::string& name) {
    std::string field = Cut(name, TLGPFile::kNameSize);
    field.resize(TLGPFile::kNameSize, '\0');
    Put(target, field.data(), field.size());
}

// Copies count bytes at position from the opened archive to the target.
void Copy(std::istream& source, std::int64_t position, std::int64_t count, std::ostream& target) {
    if (count <= 0) return;
    source.clear();
    source.seekg(position);
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, kCopyChunk)));
    while (count > 0) {
        const auto chunk = static_cast<std::streamsize>(std::min<std::int64_t>(count, kCopyChunk));
        source.read(buffer.data(), chunk);
        if (source.gcount() != chunk) {
            throw lgp::FileError("cannot read the opened archive at position " +
                                 std::to_string(position));
        }
        Put(target, buffer.data(), static_cast<std::size_t>(chunk));
        count -= chunk;
        position += chunk;
    }
}

std::int64_t DataEnd(const TLGPSubFile& subFile) {
    return std::int64_t{subFile.Offset} + std::int64_t{TLGPFile::kDataHeaderSize} + subFile.Length;
}

// Table indices in the order their data lie in the opened file; entries sharing one block
// keep their table order. Throws lgp::FormatError when data blocks overlap the table or each
// other, which no layout can be written from.
std::vector<std::size_t> DataOrder(const TLGPFile& archive) {
    const auto& subFiles = archive.SubFiles;
    std::vector<std::size_t> order(subFiles.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return subFiles[a]->Offset < subFiles[b]->Offset;
    });
    const std::int64_t tableEnd =
        TLGPFile::kHeaderSize + TLGPFile::kEntrySize * static_cast<std::int64_t>(subFiles.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const TLGPSubFile& subFile = *subFiles[order[k]];
        if (subFile.Offset < tableEnd) {
            throw lgp::FormatError("the data of " + lgp::PrintableName(subFile.Name) +
                                   " overlaps the table of contents");
        }
        if (k + 1 == order.size()) break;
        const TLGPSubFile& next = *subFiles[order[k + 1]];
        const bool shared = next.Offset == subFile.Offset && next.Length == subFile.Length;
        if (!shared && DataEnd(subFile) > next.Offset) {
            throw lgp::FormatError("the data of " + lgp::PrintableName(subFile.Name) + " and " +
                                   lgp::PrintableName(next.Name) + " overlap");
        }
    }
    return order;
}

}  // namespace

void WriteArchive(TLGPFile& archive, std::ostream& target, const Compressor& compress,
                  const WriteProgress& progress) {
    auto& subFiles = archive.SubFiles;
    // Everything that could refuse the save is checked before a byte is written.
    const std::vector<std::size_t> order = DataOrder(archive);
    for (const auto& subFile : subFiles) {
        if (NeedsRebuild(*subFile)) CheckRebuildable(*subFile);
    }
    std::istream& source = *archive.Stream;

    // The creator stands right-aligned in its 12 bytes.
    const std::string creator = Cut(archive.Creator, kCreatorSize);
    Put(target, std::string(kCreatorSize - creator.size(), '\0').data(), kCreatorSize - creator.size());
    Put(target, creator.data(), creator.size());
    PutI32(target, static_cast<std::int32_t>(subFiles.size()));
    const std::int64_t tableEnd =
        TLGPFile::kHeaderSize + TLGPFile::kEntrySize * static_cast<std::int64_t>(subFiles.size());
    // The table of contents is written last, once every offset is known.
    Put(target, std::string(TLGPFile::kEntrySize * subFiles.size(), '\0').data(),
        TLGPFile::kEntrySize * subFiles.size());

    // The bytes between the table and the first data (a lookup table in the game's archives)
    // are kept as they are.
    if (!order.empty()) Copy(source, tableEnd, subFiles[order.front()]->Offset - tableEnd, target);

    // Size change of the data written so far: every later block moves by it.
    std::int64_t shift = 0;
    const auto nextOffset = [&](std::size_t k) {
        return k + 1 < order.size() ? std::int64_t{subFiles[order[k + 1]]->Offset} : -1;
    };
    std::size_t k = 0;
    while (k < order.size()) {
        // A run of unchanged sub-files, with the bytes between them, is one copy.
        const std::int64_t runStart = subFiles[order[k]]->Offset;
        std::int64_t runEnd = runStart;
        while (k < order.size() && !NeedsRebuild(*subFiles[order[k]])) {
            TLGPSubFile& subFile = *subFiles[order[k]];
            subFile.NewOffset = static_cast<std::int32_t>(subFile.Offset + shift);
            subFile.NewLength = subFile.Length;
            runEnd = std::max(runEnd, nextOffset(k) >= 0 ? nextOffset(k) : DataEnd(subFile));
            if (progress) progress(static_cast<int>(k));
            ++k;
        }
        Copy(source, runStart, runEnd - runStart, target);
        if (k == order.size()) break;

        TLGPSubFile& level = *subFiles[order[k]];
        // Read through the opened handle like everything else written: the file at FileName
        // may have been replaced since, and its data would not match this table.
        const std::vector<std::uint8_t> stream = compress(
            RebuildFieldFile(level, lzs::DecodeStream(TLGPFile::ReadStoredData(source, level))));
        level.NewOffset = static_cast<std::int32_t>(level.Offset + shift);
        level.NewLength = static_cast<std::int32_t>(stream.size());
        PutName(target, level.Name);
        PutI32(target, level.NewLength);
        Put(target, stream.data(), stream.size());
        shift += level.NewLength - std::int64_t{level.Length};
        if (progress) progress(static_cast<int>(k));
        // Entries that share the rebuilt block point at its new data.
        while (k + 1 < order.size() && subFiles[order[k + 1]]->Offset == level.Offset) {
            TLGPSubFile& sharing = *subFiles[order[++k]];
            sharing.NewOffset = level.NewOffset;
            sharing.NewLength = level.NewLength;
            if (progress) progress(static_cast<int>(k));
        }
        // The bytes between this block and the next stay, read from their own place.
        if (nextOffset(k) >= 0) Copy(source, DataEnd(level), nextOffset(k) - DataEnd(level), target);
        ++k;
    }

    target.seekp(TLGPFile::kHeaderSize);
    for (const auto& subFile : subFiles) {
        PutName(target, subFile->Name);
        PutI32(target, subFile->NewOffset);
        const std::uint8_t tail[3] = {14, 0, 0};
        Put(target, tail, sizeof tail);
    }
    target.seekp(0, std::ios::end);
    Put(target, kTerminator, sizeof kTerminator - 1);
}
