#include "sample/field_sections.h"

#include <cmath>
#include <string>

#include "sample/byte_writer.h"

namespace sample {
namespace {

constexpr int kGateways = 12;
constexpr int kTriggers = 12;
constexpr int kArrows = 12;
constexpr std::uint16_t kNoNeighbour = 0xFFFF;

// A file name of four capital letters, as the game names its model and animation files.
std::string ModelFileName(SampleRandom& random, std::string_view extension) {
    std::string name;
    for (int i = 0; i < 4; ++i) name += static_cast<char>('A' + random.Below(26));
    return name + std::string(extension);
}

}  // namespace

std::vector<std::uint8_t> CameraSection(SampleRandom& random) {
    const double pitch = random.Real(0.2, 0.9);
    const double yaw = random.Real(-3.1, 3.1);
    const double axes[3][3] = {
        {std::cos(yaw), -std::sin(yaw), 0},
        {-std::sin(yaw) * std::sin(pitch), -std::cos(yaw) * std::sin(pitch), -std::cos(pitch)},
        {std::sin(yaw) * std::cos(pitch), std::cos(yaw) * std::cos(pitch), -std::sin(pitch)},
    };
    ByteWriter out;
    for (const auto& axis : axes) {
        for (const double value : axis) out.I16(static_cast<int>(std::lround(value * 4096)));
    }
    out.I16(static_cast<int>(std::lround(axes[2][2] * 4096)));
    for (int i = 0; i < 3; ++i) out.I32(random.Range(-6000, 6000));
    out.I32(0);
    out.U16(random.Range(300, 1200));
    return out.Take();
}

std::vector<std::uint8_t> ModelLoaderSection(int models, SampleRandom& random) {
    ByteWriter out;
    out.U16(0);
    out.U16(models);
    out.U16(512);
    for (int m = 0; m < models; ++m) {
        const std::string name = "model" + std::to_string(m);
        out.U16(static_cast<unsigned>(name.size()));
        out.Text(name);
        out.U16(0);
        out.Text(ModelFileName(random, ".HRC"));
        out.Text("512", 4);
        const int animations = random.Range(2, 12);
        out.U16(animations);
        // Three lights (colour, direction) and the global light colour.
        for (int light = 0; light < 3; ++light) {
            for (int c = 0; c < 3; ++c) out.U8(random.Below(256));
            for (int c = 0; c < 3; ++c) out.I16(random.Range(-4096, 4096));
        }
        for (int c = 0; c < 3; ++c) out.U8(random.Range(32, 96));
        for (int a = 0; a < animations; ++a) {
            const std::string animation = ModelFileName(random, ".ACA");
            out.U16(static_cast<unsigned>(animation.size()));
            out.Text(animation);
            out.U16(1);
        }
    }
    return out.Take();
}

std::vector<std::uint8_t> WalkmeshSection(SampleRandom& random) {
    // A grid of quads over the floor, each split into two triangles.
    const int columns = random.Range(3, 12);
    const int rows = random.Range(2, 9);
    const int cell = random.Range(60, 200);
    const int x0 = -columns * cell / 2;
    const int z0 = -rows * cell / 2;
    const int height = random.Range(-200, 200);
    const int triangles = 2 * columns * rows;
    ByteWriter out;
    out.U32(static_cast<std::uint32_t>(triangles));
    const auto vertex = [&](int column, int row) {
        out.I16(x0 + column * cell);
        out.I16(z0 + row * cell);
        out.I16(height + random.Range(-4, 4));
        out.I16(0);
    };
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            vertex(column, row);
            vertex(column + 1, row);
            vertex(column, row + 1);
            vertex(column + 1, row);
            vertex(column + 1, row + 1);
            vertex(column, row + 1);
        }
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int first = 2 * (row * columns + column);
            out.U16(row > 0 ? first - 2 * columns + 1 : kNoNeighbour);
            out.U16(first + 1);
            out.U16(column > 0 ? first - 1 : kNoNeighbour);
            out.U16(column + 1 < columns ? first + 2 : kNoNeighbour);
            out.U16(row + 1 < rows ? first + 2 * columns : kNoNeighbour);
            out.U16(first);
        }
    }
    return out.Take();
}

std::vector<std::uint8_t> TileMapSection(SampleRandom& random) {
    const int tiles = random.Range(64, 1024);
    ByteWriter out;
    out.U32(16);
    out.U32(16 + 2 * static_cast<std::uint32_t>(tiles));
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(tiles));
    int page = 0;
    for (int t = 0; t < tiles; ++t) {
        if (random.Chance(0.05)) page = random.Range(0, 7);
        out.U16(static_cast<unsigned>((page << 12) | (t & 0xFFF)));
    }
    return out.Take();
}

std::vector<std::uint8_t> EncounterSection(SampleRandom& random) {
    ByteWriter out;
    for (int table = 0; table < 2; ++table) {
        const bool enabled = table == 0 && random.Chance(0.3);
        out.U8(enabled ? 1 : 0);
        out.U8(enabled ? random.Range(16, 64) : 0);
        for (int battle = 0; battle < 6; ++battle) {
            const int chance = enabled ? random.Range(4, 32) : 0;
            out.U16(enabled ? (chance << 10) | random.Range(1, 1000) : 0);
        }
        out.Zeros(8);  // back attacks, side attack, pincer attack
        out.U16(0);
    }
    return out.Take();
}

std::vector<std::uint8_t> TriggerSection(std::string_view levelName, SampleRandom& random) {
    ByteWriter out;
    out.Text(levelName, 9);
    out.U8(random.Below(256));  // the direction the controls point
    out.I16(random.Range(0, 300));
    for (int i = 0; i < 4; ++i) out.I16(random.Range(-400, 400));  // camera range
    out.Zeros(24);
    const int gateways = random.Range(1, 4);
    for (int g = 0; g < kGateways; ++g) {
        if (g < gateways) {
            for (int i = 0; i < 9; ++i) out.I16(random.Range(-2000, 2000));
            out.U16(random.Range(1, 787));
            out.U32(0x005A5A5A);
        } else {
            out.Zeros(18);
            out.U16(0x7FFF);
            out.U32(0);
        }
    }
    const int triggers = random.Range(0, 3);
    for (int t = 0; t < kTriggers; ++t) {
        if (t < triggers) {
            for (int i = 0; i < 6; ++i) out.I16(random.Range(-2000, 2000));
            out.U8(random.Below(16));
            out.U8(random.Below(6));
            out.U8(random.Below(256));
            out.U8(0);
        } else {
            out.Zeros(12);
            out.U8(0xFF);
            out.Zeros(3);
        }
    }
    for (int g = 0; g < kArrows; ++g) out.U8(g < gateways ? 1 : 0);
    for (int a = 0; a < kArrows; ++a) {
        for (int i = 0; i < 3; ++i) out.I32(a < gateways ? random.Range(-2000, 2000) : 0);
        out.I32(a < gateways ? 1 : 0);
    }
    return out.Take();
}

}  // namespace sample
