#include "sample/sample_archive.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <fstream>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "lgp/file_error.h"
#include "lzs/hash_stream.h"
#include "platform/utf8_path.h"
#include "sample/byte_writer.h"
#include "sample/extra_files.h"
#include "sample/lookup_table.h"
#include "sample/window_fitting.h"

namespace sample {
namespace {

constexpr std::string_view kCreator = "SQUARESOFT";
constexpr std::string_view kTerminator = "FINAL FANTASY7";
constexpr std::size_t kCreatorSize = 12;
constexpr std::size_t kNameSize = 20;
constexpr std::size_t kEntrySize = 27;
// The byte the game's archives hold after each entry's offset.
constexpr std::uint8_t kEntryType = 14;
// Levels that have an old copy under their name in capitals, which is not a level.
constexpr int kCopiedLevels[] = {1, 5, 9, 13};
// Labels of the random streams that do not belong to one level.
constexpr std::uint64_t kLayoutStream = 1;
constexpr std::uint64_t kCopyStream = 2;
constexpr std::uint64_t kOverflowStream = 3;
constexpr std::uint64_t kExtraStream = 0x10000;
constexpr std::uint64_t kIrregularStream = 0x20000;
// Files made at once on the worker threads before they are appended in data order.
constexpr std::size_t kBatchSize = 32;

enum class Kind { Level, OldCopy, MapList, LevelSizes, Texture, Tutorial };

struct Entry {
    std::string name;
    Kind kind = Kind::Level;
    int level = -1;
    // Irregular form: the name of the entry whose data block this entry shares.
    std::string sharesWith;
    std::int32_t offset = 0;
};

std::string Capitals(std::string_view name) {
    std::string capitals(name);
    for (char& c : capitals) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return capitals;
}

// The few special layouts sit among the first levels, so that small archives have them too.
TextLayout LayoutOf(int level, std::uint64_t seed) {
    switch (level) {
        case 1:
            return TextLayout::TextsThenAkao;
        case 2:
            return TextLayout::TinyTextSection;
        case 3:
            return TextLayout::EmptyListThenAkao;
        case 5:
            return TextLayout::AkaoBeforeScripts;
        default:
            break;
    }
    SampleRandom random(SampleRandom::Derive(SampleRandom::Derive(seed, level), kLayoutStream));
    const double roll = random.Real();
    if (roll < 0.12) return TextLayout::TextsThenAkao;
    if (roll < 0.16) return TextLayout::EmptyListThenAkao;
    if (roll < 0.18) return TextLayout::AkaoBeforeScripts;
    return TextLayout::Texts;
}

// Whether the level has a text that overflows its window on purpose, for the overflow check
// to find: a few levels of the whole archive, and one among the first, so that small archives
// have one too.
bool OverflowsOnPurpose(int level, SampleRandom& random) {
    constexpr int kFirstOverflowing = 4;
    constexpr double kShare = 0.01;
    return random.Chance(kShare) || level == kFirstOverflowing;
}

// FNV-1a: a label for the random stream of a file that is not a level.
std::uint64_t NameHash(std::string_view name) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    return hash;
}

// Runs work(0) to work(count - 1) on up to `threads` threads; rethrows the first exception.
void RunParallel(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next = 0;
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (unsigned t = 1; t < std::min<std::size_t>(threads, count); ++t) {
            helpers.emplace_back(worker);
        }
        worker();
    }
    if (failure) std::rethrow_exception(failure);
}

class ArchiveComposer {
public:
    explicit ArchiveComposer(const SampleOptions& options) : options_(options) {}

    SampleArchive Compose();

private:
    void ListEntries();
    std::vector<std::size_t> DataOrder() const;
    // The stored data of an entry; for a level, also records what it holds. Safe to call
    // for different entries at once.
    std::vector<std::uint8_t> Data(const Entry& entry);

    const SampleOptions& options_;
    std::vector<Entry> entries_;
    SampleArchive archive_;
};

void ArchiveComposer::ListEntries() {
    const auto names = lgp::LevelNames();
    for (int level = 0; level < options_.levels; ++level) {
        entries_.push_back({std::string(names[level]), Kind::Level, level, {}, 0});
    }
    for (const int level : kCopiedLevels) {
        if (level < options_.levels) {
            entries_.push_back({Capitals(names[level]), Kind::OldCopy, level, {}, 0});
        }
    }
    entries_.push_back({"maplist", Kind::MapList, -1, {}, 0});
    entries_.push_back({"flevel.siz", Kind::LevelSizes, -1, {}, 0});
    for (const std::string_view name : TextureNames()) {
        entries_.push_back({std::string(name), Kind::Texture, -1, {}, 0});
    }
    for (const std::string_view name : TutorialNames()) {
        entries_.push_back({std::string(name), Kind::Tutorial, -1, {}, 0});
    }
    if (options_.irregular) entries_.push_back({"fire2.tex", Kind::Texture, -1, "fire.tex", 0});
    // The lookup table needs each slot's entries together.
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        const int slotA = LookupSlot(a.name);
        const int slotB = LookupSlot(b.name);
        return slotA != slotB ? slotA < slotB : a.name < b.name;
    });
}

std::vector<std::size_t> ArchiveComposer::DataOrder() const {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].sharesWith.empty()) order.push_back(i);
    }
    if (!options_.irregular) return order;
    SampleRandom random(SampleRandom::Derive(options_.seed, kIrregularStream));
    const std::vector<std::size_t> tableOrder = order;
    for (std::size_t i = order.size() - 1; i > 0; --i) {
        std::swap(order[i], order[random.Below(static_cast<std::uint32_t>(i + 1))]);
    }
    if (order == tableOrder) std::swap(order.front(), order.back());
    return order;
}

std::vector<std::uint8_t> ArchiveComposer::Data(const Entry& entry) {
    const auto descriptions = lgp::EnglishDescriptions();
    SampleRandom random(SampleRandom::Derive(options_.seed, kExtraStream ^ NameHash(entry.name)));
    switch (entry.kind) {
        case Kind::Level: {
            const std::uint64_t seed = SampleRandom::Derive(options_.seed, entry.level);
            SampleField field = MakeFieldFile(entry.name, descriptions[entry.level],
                                              LayoutOf(entry.level, options_.seed), seed);
            SampleRandom overflow(SampleRandom::Derive(seed, kOverflowStream));
            Overflowing overflown =
                FitWindows(field.decoded, OverflowsOnPurpose(entry.level, overflow), overflow);
            field.level.overflowing = std::move(overflown.defaultNames);
            field.level.overflowingWidest = std::move(overflown.widestNames);
            std::vector<std::uint8_t> stored = lzs::CompressHashedStream(field.decoded);
            field.level.storedSize = stored.size();
            archive_.levels[entry.level] = std::move(field.level);
            return stored;
        }
        case Kind::OldCopy: {
            const std::uint64_t seed =
                SampleRandom::Derive(SampleRandom::Derive(options_.seed, entry.level), kCopyStream);
            const SampleField copy = MakeFieldFile(
                lgp::LevelNames()[entry.level], descriptions[entry.level], TextLayout::Texts, seed);
            return lzs::CompressHashedStream(copy.decoded);
        }
        case Kind::MapList: {
            const auto names = lgp::LevelNames();
            return MapList(
                std::vector<std::string>(names.begin(), names.begin() + options_.levels));
        }
        case Kind::LevelSizes:
            // Filled in once every level is made.
            return std::vector<std::uint8_t>(4 * static_cast<std::size_t>(options_.levels), 0);
        case Kind::Texture:
            return Texture(random);
        case Kind::Tutorial:
            return Tutorial(random);
    }
    return {};
}

SampleArchive ArchiveComposer::Compose() {
    if (options_.levels < 0 || options_.levels > lgp::kLevelCount) {
        throw std::invalid_argument("the level count must lie between 0 and " +
                                    std::to_string(lgp::kLevelCount));
    }
    ListEntries();
    archive_.levels.resize(options_.levels);
    std::vector<std::string> names;
    for (const Entry& entry : entries_) names.push_back(entry.name);
    archive_.files = names;
    archive_.creator = std::string(kCreator);

    ByteWriter out;
    // Somewhat more than the 100 KB that a level takes on average.
    out.Reserve(static_cast<std::size_t>(options_.levels) * 112 * 1024 + 256 * 1024);
    out.Zeros(kCreatorSize - kCreator.size());
    out.Text(kCreator);
    out.I32(static_cast<std::int32_t>(entries_.size()));
    const std::size_t table = out.Size();
    out.Zeros(kEntrySize * entries_.size());
    out.Append(MakeLookupTable(names));

    const std::vector<std::size_t> order = DataOrder();
    const unsigned threads =
        options_.threads > 0 ? options_.threads : std::max(1u, std::thread::hardware_concurrency());
    SampleRandom gapRandom(SampleRandom::Derive(options_.seed, kIrregularStream + 1));
    std::size_t sizesPosition = 0;
    for (std::size_t start = 0; start < order.size(); start += kBatchSize) {
        const std::size_t count = std::min(kBatchSize, order.size() - start);
        std::vector<std::vector<std::uint8_t>> batch(count);
        RunParallel(count, threads,
                    [&](std::size_t i) { batch[i] = Data(entries_[order[start + i]]); });
        for (std::size_t i = 0; i < count; ++i) {
            Entry& entry = entries_[order[start + i]];
            entry.offset = static_cast<std::int32_t>(out.Size());
            out.Text(entry.name, kNameSize);
            out.U32(static_cast<std::uint32_t>(batch[i].size()));
            if (entry.kind == Kind::LevelSizes) sizesPosition = out.Size();
            out.Append(batch[i]);
            if (options_.irregular && start + i == order.size() / 2) {
                // Bytes left behind between two blocks, as by a tool that shortened a file.
                for (int n = gapRandom.Range(16, 2048); n > 0; --n) out.U8(gapRandom.Below(256));
            }
        }
    }
    out.Text(kTerminator);

    std::vector<std::size_t> decodedSizes;
    for (const SampleLevel& level : archive_.levels) decodedSizes.push_back(level.decodedSize);
    const std::vector<std::uint8_t> sizes = LevelSizes(decodedSizes);
    std::copy(sizes.begin(), sizes.end(), out.At(sizesPosition, sizes.size()).begin());

    ByteWriter toc;
    for (const Entry& entry : entries_) {
        std::int32_t offset = entry.offset;
        if (!entry.sharesWith.empty()) {
            offset = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& other) {
                         return other.name == entry.sharesWith;
                     })->offset;
        }
        toc.Text(entry.name, kNameSize);
        toc.I32(offset);
        toc.U8(kEntryType);
        toc.U16(0);
    }
    std::copy(toc.Bytes().begin(), toc.Bytes().end(), out.At(table, toc.Size()).begin());
    archive_.bytes = out.Take();
    return std::move(archive_);
}

}  // namespace

int SampleArchive::TableIndex(std::string_view name) const {
    const auto found = std::find(files.begin(), files.end(), name);
    return found != files.end() ? static_cast<int>(found - files.begin()) : -1;
}

const SampleLevel& SampleArchive::Level(std::string_view name) const {
    const auto found = std::find_if(levels.begin(), levels.end(), [name](const SampleLevel& level) {
        return level.name == name;
    });
    if (found == levels.end()) throw std::out_of_range("no level " + std::string(name));
    return *found;
}

SampleArchive MakeSampleArchive(const SampleOptions& options) {
    return ArchiveComposer(options).Compose();
}

SampleArchive WriteSampleArchive(const std::string& path, const SampleOptions& options) {
    SampleArchive archive = MakeSampleArchive(options);
    std::ofstream out(platform::PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(archive.bytes.data()),
              static_cast<std::streamsize>(archive.bytes.size()));
    out.close();
    if (!out) throw lgp::FileError("cannot write " + path);
    return archive;
}

}  // namespace sample
