#include "sample/background_sections.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "sample/byte_writer.h"

namespace sample {
namespace {

constexpr int kTile = 16;
constexpr int kPageSide = 256;
constexpr int kTilesPerPage = (kPageSide / kTile) * (kPageSide / kTile);
constexpr int kTextureSlots = 42;
constexpr int kTileRecordSize = 52;

struct Tile {
    int x = 0;  // top-left pixel in the picture
    int y = 0;
    int slot = 0;
    int palette = 0;
    int depth = 0;
    bool hidden = false;
};

// Stores tiles in texture-page slots, one slot per different content.
class TextureAtlas {
public:
    int Add(const std::string& pixels) {
        const auto [entry, added] = slots_.emplace(pixels, static_cast<int>(contents_.size()));
        if (added) contents_.push_back(pixels);
        return entry->second;
    }
    int Pages() const {
        return (static_cast<int>(contents_.size()) + kTilesPerPage - 1) / kTilesPerPage;
    }

    void Write(ByteWriter& out) const {
        for (int page = 0; page < Pages(); ++page) {
            out.U16(1);  // present
            out.U16(1);  // one byte per pixel
            out.U16(1);
            const std::span<std::uint8_t> pixels = out.Space(kPageSide * kPageSide);
            for (int s = 0; s < kTilesPerPage; ++s) {
                const std::size_t index = static_cast<std::size_t>(page) * kTilesPerPage + s;
                if (index >= contents_.size()) break;
                const auto [u, v] = Source(static_cast<int>(index));
                for (int row = 0; row < kTile; ++row) {
                    std::memcpy(&pixels[(v + row) * kPageSide + u], &contents_[index][row * kTile],
                                kTile);
                }
            }
        }
    }

    // Position of a slot's tile in its page.
    static std::pair<int, int> Source(int slot) {
        const int inPage = slot % kTilesPerPage;
        return {(inPage % (kPageSide / kTile)) * kTile, (inPage / (kPageSide / kTile)) * kTile};
    }

private:
    std::unordered_map<std::string, int> slots_;
    std::vector<std::string> contents_;
};

std::string TilePixels(const std::vector<std::uint8_t>& pixels, int width, int x, int y) {
    std::string tile(kTile * kTile, '\0');
    for (int row = 0; row < kTile; ++row) {
        for (int column = 0; column < kTile; ++column) {
            tile[row * kTile + column] = static_cast<char>(pixels[(y + row) * width + x + column]);
        }
    }
    return tile;
}

void WriteTile(ByteWriter& out, const Tile& tile, int width, int height) {
    const auto [u, v] = TextureAtlas::Source(tile.slot);
    const int page = tile.slot / kTilesPerPage;
    out.U16(0);
    out.I16(tile.x - width / 2);
    out.I16(tile.y - height / 2);
    out.Zeros(4);
    out.U16(u);
    out.U16(v);
    out.U16(u);
    out.U16(v);
    out.Zeros(4);
    out.U16(tile.palette);
    out.U16(tile.depth);
    out.U8(tile.hidden ? 1 : 0);  // parameter and state of an animated tile
    out.U8(tile.hidden ? 1 : 0);
    out.Zeros(4);  // blending and transparency type
    out.U16(page);
    out.U16(tile.hidden ? 1 : 0);
    out.U16(1);
    out.U16(0);
    out.U32(static_cast<std::uint32_t>(tile.depth) * 10000u);
    out.U32(static_cast<std::uint32_t>(u) * 625000u);
    out.U32(static_cast<std::uint32_t>(v) * 625000u);
}

}  // namespace

BackgroundSections MakeBackgroundSections(const Painting& painting, int top, int height,
                                          SampleRandom& random) {
    const int width = painting.width;
    TextureAtlas atlas;
    std::vector<Tile> back;
    std::vector<Tile> front;
    const std::string empty(kTile * kTile, '\0');
    for (int y = 0; y < painting.height; y += kTile) {
        for (int x = 0; x < width; x += kTile) {
            const std::string pixels = TilePixels(painting.back, width, x, y);
            if (pixels != empty) back.push_back({x, top + y, atlas.Add(pixels), 0, 4095, false});
        }
    }
    for (int y = 0; y < painting.height; y += kTile) {
        for (int x = 0; x < width; x += kTile) {
            const std::string pixels = TilePixels(painting.front, width, x, y);
            if (pixels != empty) {
                front.push_back({x, top + y, atlas.Add(pixels), 1, 100 + y / 4, false});
            }
        }
    }
    // Tiles of another state (a lamp switched on, a door open): stored but not drawn.
    for (int n = random.Range(0, 6); n > 0 && !back.empty(); --n) {
        const Tile& original = back[random.Below(static_cast<std::uint32_t>(back.size()))];
        std::string pixels = TilePixels(painting.back, width, original.x, original.y - top);
        for (char& c : pixels) {
            const int index = static_cast<std::uint8_t>(c);
            if (index % 16 < 14 && index != 0) c = static_cast<char>(index + 2);
        }
        front.push_back({original.x, original.y, atlas.Add(pixels), 0, 50, true});
    }

    BackgroundSections sections;
    sections.pages = atlas.Pages();
    sections.backTiles = static_cast<int>(back.size());
    sections.frontTiles = static_cast<int>(front.size());

    const int paletteCount = static_cast<int>(painting.colors.size() / 256);
    ByteWriter palette;
    palette.U32(12 + 512 * static_cast<std::uint32_t>(paletteCount));
    palette.U16(0);
    palette.U16(480);
    palette.U16(256);
    palette.U16(paletteCount);
    for (const std::uint16_t color : painting.colors) palette.U16(color);
    sections.palette = palette.Take();

    ByteWriter out;
    out.U16(0);
    out.U16(1);
    out.U8(1);
    out.Text("PALETTE");
    out.U32(static_cast<std::uint32_t>(paletteCount) * 512);
    out.Zeros(20);  // per palette: whether its first colour is transparent
    out.Text("BACK");
    out.U16(width);
    out.U16(height);
    out.U16(static_cast<unsigned>(back.size()));
    out.U16(1);
    out.Zeros(2);
    for (const Tile& tile : back) WriteTile(out, tile, width, height);
    out.U8(1);
    out.U16(width);
    out.U16(height);
    out.U16(0);
    out.U16(static_cast<unsigned>(front.size()));
    out.U16(1);
    out.Zeros(16);
    for (const Tile& tile : front) WriteTile(out, tile, width, height);
    out.U16(0);
    out.U8(0);  // no layer 3
    out.U8(0);  // no layer 4
    out.Text("TEXTURE");
    atlas.Write(out);
    for (int page = sections.pages; page < kTextureSlots; ++page) out.U16(0);
    out.Text("END");
    out.Text("FINAL FANTASY7");
    sections.background = out.Take();
    return sections;
}

}  // namespace sample
