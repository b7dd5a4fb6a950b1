#include "preview/level_background.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "lgp/byte_reader.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/lgp_file.h"

namespace preview {

namespace {

constexpr std::int64_t kPalettePointer = 18;
constexpr std::int64_t kBackgroundPointer = 38;
// A section's position points at its 4-byte length; its content follows.
constexpr std::int64_t kSectionLength = 4;
constexpr std::int64_t kPaletteColors = 12;
// The width, the height and layer 1's tile count, 2 bytes each.
constexpr std::int64_t kSize = 40;
constexpr std::int64_t kLayer1Tiles = 50;
constexpr std::int64_t kLayer2Count = 57;
constexpr std::int64_t kLayer2Tiles = 77;
constexpr std::int64_t kTexturePages = 88;
constexpr std::int64_t kTileRecordSize = 52;
constexpr std::int64_t kPageHeader = 6;
constexpr int kTileSide = 16;
constexpr int kPaletteSize = 256;
// A palette entry that lies outside the file.
constexpr std::int32_t kMissingColor = -1;

struct Tile {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t sourceX = 0;
    std::int16_t sourceY = 0;
    std::int16_t palette = 0;
    std::int16_t page = 0;
    bool hidden = false;
};

using Palette = std::array<std::int32_t, kPaletteSize>;

// A reader at `position` with `count` bytes after it, or FormatError naming `what`.
lgp::ByteReader ReaderAt(std::span<const std::uint8_t> file, std::int64_t position,
                         std::int64_t count, const std::string& what) {
    const auto size = static_cast<std::int64_t>(file.size());
    if (position < 0 || position > size || count > size - position) {
        throw lgp::FormatError("the field file has no room for " + what + " (" +
                               std::to_string(count) + " bytes at position " +
                               std::to_string(position) + " of a " + std::to_string(size) +
                               "-byte file)");
    }
    return lgp::ByteReader(file, static_cast<std::size_t>(position));
}

std::vector<Tile> ReadTiles(std::span<const std::uint8_t> file, std::int64_t position,
                            std::int64_t count, const std::string& layer) {
    lgp::ByteReader reader = ReaderAt(file, position, count * kTileRecordSize, layer + "'s tiles");
    std::vector<Tile> tiles(static_cast<std::size_t>(count));
    for (Tile& tile : tiles) {
        lgp::ByteReader record(reader.ReadBytes(kTileRecordSize));
        record.Seek(2);
        tile.x = record.ReadI16();
        tile.y = record.ReadI16();
        record.Seek(10);
        tile.sourceX = record.ReadI16();
        tile.sourceY = record.ReadI16();
        record.Seek(22);
        tile.palette = record.ReadI16();
        record.Seek(32);
        tile.page = record.ReadI16();
        tile.hidden = record.ReadU16() != 0;
    }
    return tiles;
}

// The part of [begin, begin + count) that lies inside [0, size), as a start and an end.
std::pair<std::int64_t, std::int64_t> Inside(std::int64_t begin, std::int64_t count,
                                             std::int64_t size) {
    return {std::clamp<std::int64_t>(begin, 0, size),
            std::clamp<std::int64_t>(begin + count, 0, size)};
}

// The colour exchanges red (bits 0-4) and blue (bits 10-14), keeps green and clears bit 15.
std::uint16_t ExchangeRedAndBlue(std::uint16_t color) {
    return static_cast<std::uint16_t>(((color & 0x001F) << 10) | (color & 0x03E0) |
                                      ((color >> 10) & 0x001F));
}

class BackgroundBuilder {
public:
    explicit BackgroundBuilder(std::span<const std::uint8_t> file)
        : file_(file), size_(static_cast<std::int64_t>(file.size())), reader_(file) {}

    QImage Build() {
        const std::int64_t q =
            ReaderAt(file_, kPalettePointer, 4, "the palette section's position").ReadI32() +
            kSectionLength;
        const std::int64_t b =
            ReaderAt(file_, kBackgroundPointer, 4, "the background section's position").ReadI32() +
            kSectionLength;
        lgp::ByteReader header = ReaderAt(file_, b + kSize, 6, "the background's size");
        width_ = header.ReadU16();
        height_ = header.ReadU16();
        const std::int64_t n1 = header.ReadU16();
        const std::int64_t n2 =
            ReaderAt(file_, b + kLayer2Count + kTileRecordSize * n1, 2, "layer 2's tile count")
                .ReadU16();
        const std::vector<Tile> layer1 = ReadTiles(file_, b + kLayer1Tiles, n1, "layer 1");
        const std::vector<Tile> layer2 =
            ReadTiles(file_, b + kLayer2Tiles + kTileRecordSize * n1, n2, "layer 2");
        pages_ = b + kTexturePages + kTileRecordSize * (n1 + n2);
        paletteColors_ = q + kPaletteColors;

        if (width_ * height_ > kMaxBackgroundPixels) {
            throw lgp::FormatError("the background is " + std::to_string(width_) + " x " +
                                   std::to_string(height_) + " pixels, more than the " +
                                   std::to_string(kMaxBackgroundPixels) +
                                   " pixels a level preview can hold");
        }
        if (width_ == 0 || height_ == 0) return {};
        pixels_.assign(static_cast<std::size_t>(width_ * height_), 0);
        for (const Tile& tile : layer1) Draw(tile);
        for (const Tile& tile : layer2) Draw(tile);
        return Picture();
    }

private:
    void Draw(const Tile& tile) {
        if (tile.hidden) return;
        const Palette& palette = PaletteAt(tile.palette);
        // The texture bits are combined as the game's tools do, so that a source position out
        // of 0..255 lands where theirs does; every page is 6 header bytes and 256 x 256 indices.
        const std::int32_t packed = (std::int32_t{tile.page} << 16) |
                                    (std::int32_t{tile.sourceY} << 8) | std::int32_t{tile.sourceX};
        const std::int64_t source = pages_ + packed + kPageHeader * (std::int64_t{tile.page} + 1);
        const std::int64_t target = (tile.y + height_ / 2) * width_ + (tile.x + width_ / 2);
        const auto pixelCount = static_cast<std::int64_t>(pixels_.size());
        for (int r = 0; r < kTileSide; ++r) {
            const std::int64_t row = source + 256 * r;
            const auto [begin, end] = Inside(row, kTileSide, size_);
            if (begin >= end) continue;
            reader_.Seek(static_cast<std::size_t>(begin));
            const std::span<const std::uint8_t> indices =
                reader_.ReadBytes(static_cast<std::size_t>(end - begin));
            for (std::int64_t c = begin - row; c < end - row; ++c) {
                const std::uint8_t index = indices[static_cast<std::size_t>(row + c - begin)];
                if (index == 0) continue;
                // Pixels are addressed linearly: a tile passing the right edge goes on at the
                // left of the next row.
                const std::int64_t pixel = target + width_ * r + c;
                if (pixel < 0 || pixel >= pixelCount || palette[index] == kMissingColor) continue;
                pixels_[static_cast<std::size_t>(pixel)] =
                    static_cast<std::uint16_t>(palette[index]);
            }
        }
    }

    // The colours of a palette, already exchanged, read once per palette number.
    const Palette& PaletteAt(std::int16_t number) {
        const auto found = palettes_.find(number);
        if (found != palettes_.end()) return found->second;
        Palette& palette = palettes_[number];
        palette.fill(kMissingColor);
        const std::int64_t start = paletteColors_ + 2 * kPaletteSize * std::int64_t{number};
        for (int i = 0; i < kPaletteSize; ++i) {
            const std::int64_t position = start + 2 * i;
            if (position < 0 || position + 2 > size_) continue;
            reader_.Seek(static_cast<std::size_t>(position));
            palette[i] = ExchangeRedAndBlue(reader_.ReadU16());
        }
        return palette;
    }

    QImage Picture() const {
        QImage picture(static_cast<int>(width_), static_cast<int>(height_), QImage::Format_RGB555);
        if (picture.isNull()) throw std::bad_alloc();
        const auto rowBytes = static_cast<std::size_t>(width_) * sizeof(std::uint16_t);
        for (int y = 0; y < picture.height(); ++y) {
            std::memcpy(picture.scanLine(y), &pixels_[static_cast<std::size_t>(y * width_)],
                        rowBytes);
        }
        return picture;
    }

    std::span<const std::uint8_t> file_;
    std::int64_t size_;
    lgp::ByteReader reader_;
    std::int64_t width_ = 0;
    std::int64_t height_ = 0;
    std::int64_t pages_ = 0;
    std::int64_t paletteColors_ = 0;
    std::vector<std::uint16_t> pixels_;
    std::map<std::int16_t, Palette> palettes_;
};

}  // namespace

QImage BuildLevelBackground(std::span<const std::uint8_t> fieldFile) {
    return BackgroundBuilder(fieldFile).Build();
}

QImage ReadLevelBackground(const TLGPFile& archive, const TLGPSubFile& level) {
    const std::string prefix = "cannot draw the background of " + level.Name + ": ";
    try {
        return BuildLevelBackground(archive.ReadSubFile(level));
    } catch (const lgp::FormatError& error) {
        throw lgp::FormatError(prefix + error.what());
    } catch (const lgp::FileError& error) {
        throw lgp::FileError(prefix + error.what());
    }
}

}  // namespace preview
