#include "bench/field_like_data.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <string>

namespace lzs_bench {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU16At(Bytes& out, std::size_t pos, std::size_t value) {
    out[pos] = static_cast<std::uint8_t>(value & 0xFF);
    out[pos + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// ---- Event script -------------------------------------------------------------------------

struct Opcode {
    std::uint8_t code;
    int arguments;
};

// Opcode bytes and their argument counts, the most used first.
constexpr Opcode kOpcodes[] = {{0x5F, 3}, {0x80, 3}, {0x10, 1}, {0x14, 4}, {0x76, 3}, {0xA8, 8},
                               {0x40, 2}, {0x24, 2}, {0x2A, 1}, {0x0F, 2}, {0xA1, 4}, {0x5B, 5},
                               {0x7E, 1}, {0xC0, 6}, {0x43, 3}, {0x11, 2}, {0x48, 4}, {0xB1, 2},
                               {0x22, 0}, {0x99, 7}, {0x6D, 2}, {0xE5, 3}, {0x03, 1}, {0xF0, 4}};

constexpr int kEntities = 24;
constexpr int kScriptsPerEntity = 32;
constexpr std::uint8_t kReturn = 0x00;

// One argument byte: mostly flags, bank numbers and small counts; now and then a coordinate
// or a jump distance.
std::uint8_t Argument(std::mt19937& rng) {
    const unsigned roll = rng() % 10;
    if (roll < 6) return static_cast<std::uint8_t>(rng() % 8);
    if (roll < 9) return static_cast<std::uint8_t>(rng() % 64);
    return static_cast<std::uint8_t>(rng());
}

void AppendScript(Bytes& out, std::mt19937& rng) {
    std::geometric_distribution<int> rank(0.18);
    const int operations = 3 + static_cast<int>(rng() % 36);
    for (int i = 0; i < operations; ++i) {
        const Opcode& op = kOpcodes[std::min<std::size_t>(rank(rng), std::size(kOpcodes) - 1)];
        out.push_back(op.code);
        for (int a = 0; a < op.arguments; ++a) out.push_back(Argument(rng));
    }
    out.push_back(kReturn);
}

// The entities' script offset tables, then the scripts. Most entities use few of their 32
// scripts; the entries of the unused ones repeat the entity's first offset.
void AppendEventScript(Bytes& out, std::mt19937& rng) {
    const std::size_t tablePos = out.size();
    out.resize(tablePos + kEntities * kScriptsPerEntity * 2);
    for (int e = 0; e < kEntities; ++e) {
        const int used = 1 + static_cast<int>(rng() % 10);
        const std::size_t first = out.size() - tablePos;
        for (int s = 0; s < kScriptsPerEntity; ++s) {
            const std::size_t offset = s < used ? out.size() - tablePos : first;
            PutU16At(out, tablePos + (e * kScriptsPerEntity + s) * 2, offset);
            if (s < used) AppendScript(out, rng);
        }
    }
}

// ---- Dialogue -----------------------------------------------------------------------------

const char* const kSpeakers[] = {"Old man", "Guard", "Girl",  "Shopkeeper",
                                 "Soldier", "Boy",   "Woman", "Stranger"};
const char* const kOpenings[] = {"Hey! ",     "Huh? ",  "Wait... ", "Listen. ", "Hmm... ",
                                 "Come on! ", "Well, ", "",         "",         ""};
const char* const kSubjects[] = {"I",          "We",          "You",        "They",
                                 "The guards", "Nobody here", "Everyone",   "My brother",
                                 "That man",   "The mayor",   "Our people", "The train"};
const char* const kVerbs[] = {"have to", "can't", "should",  "want to",  "never wanted to",
                              "will",    "might", "used to", "tried to", "don't want to"};
const char* const kActions[] = {
    "get out of here",    "find the key",     "talk to the old man",   "go back to town",
    "wait for the train", "open that door",   "check the upper floor", "take a rest",
    "fight them",         "cross the bridge", "leave the station",     "see the reactor",
    "pay for the room",   "climb the tower",  "forget about it"};
const char* const kEndings[] = {" before it gets dark",
                                " right now",
                                ", no matter what",
                                " first",
                                "",
                                " together",
                                " alone",
                                " again",
                                " tonight"};
const char* const kStops[] = {".", "!", "?", "...", "."};

template <std::size_t n>
const char* Pick(const char* const (&words)[n], std::mt19937& rng) {
    return words[rng() % n];
}

std::string Line(std::mt19937& rng) {
    std::string line = Pick(kSpeakers, rng);
    line += "\n\"";
    const int sentences = 1 + static_cast<int>(rng() % 3);
    for (int s = 0; s < sentences; ++s) {
        if (s > 0) line += rng() % 3 == 0 ? "\n " : " ";
        line += Pick(kOpenings, rng);
        line += Pick(kSubjects, rng);
        line += ' ';
        line += Pick(kVerbs, rng);
        line += ' ';
        line += Pick(kActions, rng);
        line += Pick(kEndings, rng);
        line += Pick(kStops, rng);
    }
    line += '"';
    return line;
}

// The game's text encoding: printable characters shifted down by 0x20, its own byte for a new
// line and 0xFF at the end of each string. An offset table comes first.
void AppendDialogue(Bytes& out, std::mt19937& rng) {
    constexpr int kLines = 90;
    const std::size_t tablePos = out.size();
    out.resize(tablePos + 2 + kLines * 2);
    PutU16At(out, tablePos, kLines);
    for (int i = 0; i < kLines; ++i) {
        PutU16At(out, tablePos + 2 + i * 2, out.size() - tablePos);
        for (const char c : Line(rng)) {
            out.push_back(c == '\n' ? 0xE7 : static_cast<std::uint8_t>(c - 0x20));
        }
        out.push_back(0xFF);
    }
}

// ---- Background ---------------------------------------------------------------------------

constexpr int kTileSide = 16;
constexpr int kPageSide = 256;
constexpr int kTilesPerPage = (kPageSide / kTileSide) * (kPageSide / kTileSide);
// Four and a half pages of tiles: the last page is partly unused, as it usually is.
constexpr int kPictureWidth = 512;
constexpr int kPictureHeight = 592;

// Part of the picture painted in one colour: palette row `ramp` holds its 16 shades.
struct Shape {
    bool ellipse = false;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int ramp = 0;
    double shade = 0;   // at the top left corner
    double slopeX = 0;  // shades per pixel
    double slopeY = 0;
    double texture = 0;  // amplitude of the brush texture, in shades
    double grain = 0;    // spread of the shades of single pixels, in shades

    bool Contains(int x, int y) const {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        if (!ellipse) return true;
        const double rx = (right - left) / 2.0;
        const double ry = (bottom - top) / 2.0;
        const double dx = (x - left - rx) / rx;
        const double dy = (y - top - ry) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
};

// Smooth noise in [0, 1): values on a lattice of `cell` pixels, blended in between.
double ValueNoise(int x, int y, int cell, std::uint32_t seed) {
    const auto lattice = [seed](int ix, int iy) {
        std::uint32_t h = seed ^ (static_cast<std::uint32_t>(ix) * 0x9E3779B1u) ^
                          (static_cast<std::uint32_t>(iy) * 0x85EBCA77u);
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 12;
        return (h & 0xFFFF) / 65536.0;
    };
    const int ix = x / cell;
    const int iy = y / cell;
    const double fx = static_cast<double>(x % cell) / cell;
    const double fy = static_cast<double>(y % cell) / cell;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * sx;
    const double bottom =
        lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

std::vector<Shape> Scene(std::mt19937& rng) {
    const auto uniform = [&rng](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    const auto integer = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    std::vector<Shape> shapes;
    // Sky over everything, then the ground.
    shapes.push_back(
        {false, 0, 0, kPictureWidth, kPictureHeight, 1, 3.0, 0.0, 10.0 / kPictureHeight, 2.0, 0.7});
    shapes.push_back({false, 0, kPictureHeight * 3 / 5, kPictureWidth, kPictureHeight, 2, 9.0, 0.0,
                      -6.0 / kPictureHeight, 4.0, 2.0});
    // Buildings and walls, lit from one side.
    for (int i = 0; i < 24; ++i) {
        const int left = integer(-40, kPictureWidth - 40);
        const int top = integer(kPictureHeight / 6, kPictureHeight / 2);
        shapes.push_back({false, left, top, left + integer(40, 160), kPictureHeight * 3 / 4,
                          integer(3, 8), uniform(4, 12), uniform(-0.04, 0.04), uniform(-0.01, 0.01),
                          uniform(2.0, 4.0), uniform(1.0, 2.5)});
    }
    // Rocks, bushes and barrels.
    for (int i = 0; i < 40; ++i) {
        const int left = integer(-20, kPictureWidth - 20);
        const int top = integer(kPictureHeight / 2, kPictureHeight - 30);
        const int size = integer(20, 90);
        shapes.push_back({true, left, top, left + size, top + size * 2 / 3, integer(9, 13),
                          uniform(5, 12), uniform(-0.08, 0.08), uniform(-0.08, 0.08),
                          uniform(2.5, 5.0), uniform(2.5, 4.0)});
    }
    // Doorways and shadows: flat areas of one index.
    for (int i = 0; i < 4; ++i) {
        const int left = integer(0, kPictureWidth - 60);
        const int top = integer(kPictureHeight / 3, kPictureHeight * 2 / 3);
        shapes.push_back(
            {false, left, top, left + integer(20, 60), top + integer(30, 90), 0, 1.0, 0, 0, 0, 0});
    }
    return shapes;
}

// Paints the scene in continuous shades, then quantizes them to the palette with
// Floyd-Steinberg error diffusion, as a picture reduced to 256 colours is. The error spreads
// only within one colour, so flat areas stay flat.
std::vector<std::uint8_t> Paint(std::mt19937& rng) {
    const std::vector<Shape> shapes = Scene(rng);
    const std::uint32_t noiseSeed = rng();
    std::normal_distribution<double> speck(0.0, 1.0);
    constexpr std::size_t kPixels = std::size_t{kPictureWidth} * kPictureHeight;
    std::vector<std::uint8_t> ramps(kPixels);
    std::vector<double> shades(kPixels);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const Shape& shape = *std::find_if(shapes.rbegin(), shapes.rend(),
                                               [x, y](const Shape& s) { return s.Contains(x, y); });
            const double brush = ValueNoise(x, y, 24, noiseSeed) +
                                 0.5 * ValueNoise(x, y, 6, noiseSeed + 1) +
                                 0.4 * ValueNoise(x, y, 3, noiseSeed + 2) - 0.95;
            const std::size_t i = std::size_t(y) * kPictureWidth + x;
            ramps[i] = static_cast<std::uint8_t>(shape.ramp);
            shades[i] = shape.shade + shape.slopeX * (x - shape.left) +
                        shape.slopeY * (y - shape.top) + shape.texture * brush;
            if (shape.grain > 0) shades[i] += shape.grain * speck(rng);
        }
    }
    std::vector<std::uint8_t> picture(kPixels);
    const auto spread = [&](int x, int y, std::uint8_t ramp, double error) {
        if (x < 0 || x >= kPictureWidth || y >= kPictureHeight) return;
        const std::size_t i = std::size_t(y) * kPictureWidth + x;
        if (ramps[i] == ramp) shades[i] += error;
    };
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::size_t i = std::size_t(y) * kPictureWidth + x;
            const double index = std::clamp(std::round(shades[i]), 0.0, 15.0);
            const double error = shades[i] - index;
            const std::uint8_t ramp = ramps[i];
            picture[i] = static_cast<std::uint8_t>(ramp * 16 + static_cast<int>(index));
            spread(x + 1, y, ramp, error * 7 / 16);
            spread(x - 1, y + 1, ramp, error * 3 / 16);
            spread(x, y + 1, ramp, error * 5 / 16);
            spread(x + 1, y + 1, ramp, error / 16);
        }
    }
    return picture;
}

// Cuts the picture into 16x16 tiles laid row by row into 256x256 pages; the tiles after the
// picture's last one stay zero.
void AppendTexturePages(Bytes& out, std::mt19937& rng) {
    const std::vector<std::uint8_t> picture = Paint(rng);
    constexpr int kTilesAcross = kPictureWidth / kTileSide;
    constexpr int kTiles = kTilesAcross * (kPictureHeight / kTileSide);
    constexpr int kPages = (kTiles + kTilesPerPage - 1) / kTilesPerPage;
    const std::size_t base = out.size();
    out.resize(base + std::size_t{kPages} * kPageSide * kPageSide, 0);
    for (int t = 0; t < kTiles; ++t) {
        const int sourceX = (t % kTilesAcross) * kTileSide;
        const int sourceY = (t / kTilesAcross) * kTileSide;
        const int slot = t % kTilesPerPage;
        const std::size_t page = base + std::size_t(t / kTilesPerPage) * kPageSide * kPageSide;
        const int pageX = (slot % (kPageSide / kTileSide)) * kTileSide;
        const int pageY = (slot / (kPageSide / kTileSide)) * kTileSide;
        for (int row = 0; row < kTileSide; ++row) {
            const auto from = picture.begin() + (sourceY + row) * kPictureWidth + sourceX;
            std::copy(from, from + kTileSide,
                      out.begin() + page + (pageY + row) * kPageSide + pageX);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> MakeFieldLikeData(std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out;
    AppendEventScript(out, rng);
    AppendDialogue(out, rng);
    // Zero padding to a 4 KB boundary, then an unused, empty 4 KB section.
    out.resize((out.size() + 4095) / 4096 * 4096 + 4096, 0);
    AppendTexturePages(out, rng);
    return out;
}

std::vector<std::uint8_t> MakeRandomData(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> out(size);
    for (auto& byte : out) byte = static_cast<std::uint8_t>(rng());
    return out;
}

}  // namespace lzs_bench
