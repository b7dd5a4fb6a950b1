#include "lgp/archive_writer.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <numeric>
#include <stop_token>
#include <string>
#include <thread>

#include "lgp/field_rebuilder.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "lgp/printable_name.h"
#include "lzs/decode_stream.h"

namespace lgp {

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

// The opened archive, read by the writer and by the workers that rebuild levels, one at a time.
struct SharedSource {
    std::istream& stream;
    std::mutex mutex;
};

// Copies count bytes at position from the opened archive to the target.
void Copy(SharedSource& source, std::int64_t position, std::int64_t count, std::ostream& target) {
    if (count <= 0) return;
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, kCopyChunk)));
    while (count > 0) {
        const auto chunk = static_cast<std::streamsize>(std::min<std::int64_t>(count, kCopyChunk));
        {
            const std::lock_guard lock(source.mutex);
            source.stream.clear();
            source.stream.seekg(position);
            source.stream.read(buffer.data(), chunk);
            if (source.stream.gcount() != chunk) {
                throw lgp::FileError("cannot read the opened archive at position " +
                                     std::to_string(position));
            }
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

// Positions in the data order of the levels that are rebuilt: every changed level but those
// sharing the data block of the level rebuilt just before them, which take its new data.
std::vector<std::size_t> RebuiltPositions(const TLGPFile& archive,
                                          const std::vector<std::size_t>& order) {
    const auto& subFiles = archive.SubFiles;
    std::vector<std::size_t> positions;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (!NeedsRebuild(*subFiles[order[k]])) continue;
        positions.push_back(k);
        const std::int32_t offset = subFiles[order[k]]->Offset;
        while (k + 1 < order.size() && subFiles[order[k + 1]]->Offset == offset) ++k;
    }
    return positions;
}

// Rebuilds and compresses levels on worker threads while the writer copies, at most a few
// levels ahead of it, and hands them over in order. A failure stops the handing out of further
// levels and is rethrown when the writer reaches that level, so that the error is the one a
// level-by-level save would meet first.
class LevelCompression {
public:
    LevelCompression(SharedSource& source, std::vector<const TLGPSubFile*> levels,
                     const Compressor& compress, unsigned threads)
        : source_(source),
          levels_(std::move(levels)),
          compress_(compress),
          results_(levels_.size()),
          ahead_(2 * std::size_t{threads} + 2) {
        for (unsigned t = 0; t < threads; ++t) {
            workers_.emplace_back([this](std::stop_token stop) { Work(stop); });
        }
    }

    // The compressed stream of the i-th level, once ready; rethrows what its rebuilding or
    // compression threw. Levels are taken in order, each once.
    std::vector<std::uint8_t> Take(std::size_t i) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return results_[i].done; });
        taken_ = i + 1;
        changed_.notify_all();
        if (results_[i].error) std::rethrow_exception(results_[i].error);
        return std::move(results_[i].stream);
    }

private:
    struct Result {
        std::vector<std::uint8_t> stream;
        std::exception_ptr error;
        bool done = false;
    };

    void Work(std::stop_token stop) {
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock lock(mutex_);
                // Bounded memory: the streams held are those of the next few levels to write.
                const bool go = changed_.wait(
                    lock, stop, [&] { return next_ == levels_.size() || next_ < taken_ + ahead_; });
                if (!go || next_ == levels_.size()) return;
                i = next_++;
            }
            Result result;
            try {
                std::vector<std::uint8_t> stored;
                {
                    const std::lock_guard lock(source_.mutex);
                    stored = TLGPFile::ReadStoredData(source_.stream, *levels_[i]);
                }
                result.stream =
                    compress_(RebuildFieldFile(*levels_[i], lzs::DecodeStream(stored)));
            } catch (...) {
                result.error = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex_);
                // Levels after a failed one are never written.
                if (result.error) next_ = levels_.size();
                result.done = true;
                results_[i] = std::move(result);
            }
            changed_.notify_all();
        }
    }

    SharedSource& source_;
    const std::vector<const TLGPSubFile*> levels_;
    const Compressor& compress_;
    std::vector<Result> results_;
    const std::size_t ahead_;
    std::size_t next_ = 0;   // the next level to hand out
    std::size_t taken_ = 0;  // levels the writer has taken
    std::mutex mutex_;
    std::condition_variable_any changed_;
    // Last, so that the workers are stopped and joined before anything they use is destroyed.
    std::vector<std::jthread> workers_;
};

}  // namespace

void WriteArchive(TLGPFile& archive, std::ostream& target, const Compressor& compress,
                  const WriteProgress& progress, unsigned threads) {
    auto& subFiles = archive.SubFiles;
    // Everything that could refuse the save is checked before a byte is written.
    const std::vector<std::size_t> order = DataOrder(archive);
    for (const auto& subFile : subFiles) {
        if (NeedsRebuild(*subFile)) CheckRebuildable(*subFile);
    }
    // Everything is read through the opened handle: the file at FileName may have been
    // replaced since, and its data would not match this table.
    SharedSource source{*archive.Stream, {}};

    // Compression starts at once and goes on while the unchanged data is copied.
    const std::vector<std::size_t> rebuilt = RebuiltPositions(archive, order);
    std::vector<const TLGPSubFile*> levels;
    for (std::size_t k : rebuilt) levels.push_back(subFiles[order[k]].get());
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, levels.size()));
    LevelCompression compression(source, std::move(levels), compress, threads);

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
    for (std::size_t j = 0;; ++j) {
        // A run of unchanged sub-files up to the next rebuilt level, with the bytes between
        // them, is one copy.
        const std::size_t runLast = j < rebuilt.size() ? rebuilt[j] : order.size();
        if (k < runLast) {
            const std::int64_t runStart = subFiles[order[k]]->Offset;
            std::int64_t runEnd = runStart;
            for (; k < runLast; ++k) {
                TLGPSubFile& subFile = *subFiles[order[k]];
                subFile.NewOffset = static_cast<std::int32_t>(subFile.Offset + shift);
                subFile.NewLength = subFile.Length;
                runEnd = std::max(runEnd, nextOffset(k) >= 0 ? nextOffset(k) : DataEnd(subFile));
                if (progress) progress(static_cast<int>(k));
            }
            Copy(source, runStart, runEnd - runStart, target);
        }
        if (j == rebuilt.size()) break;

        TLGPSubFile& level = *subFiles[order[k]];
        const std::vector<std::uint8_t> stream = compression.Take(j);
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

}  // namespace lgp
