#include "sample/extra_files.h"

#include <algorithm>
#include <cmath>

#include "sample/byte_writer.h"

namespace sample {
namespace {

constexpr int kTexHeaderWords = 59;

}  // namespace

std::vector<std::uint8_t> MapList(const std::vector<std::string>& levelNames) {
    ByteWriter out;
    out.U16(static_cast<unsigned>(levelNames.size()));
    for (const std::string& name : levelNames) out.Text(name, 32);
    return out.Take();
}

std::vector<std::uint8_t> LevelSizes(const std::vector<std::size_t>& decodedSizes) {
    ByteWriter out;
    for (const std::size_t size : decodedSizes) out.U32(static_cast<std::uint32_t>(size));
    return out.Take();
}

std::vector<std::uint8_t> Texture(SampleRandom& random) {
    const int side = random.Chance(0.5) ? 32 : 64;
    // The header's fields that matter: version, colour key, colours, bit depth, size.
    std::vector<std::uint32_t> header(kTexHeaderWords, 0);
    header[0] = 1;
    header[2] = 1;
    header[12] = 1;
    header[13] = 256;
    header[14] = 8;
    header[15] = static_cast<std::uint32_t>(side);
    header[16] = static_cast<std::uint32_t>(side);
    header[18] = 1;
    header[24] = 256;
    ByteWriter out;
    for (const std::uint32_t word : header) out.U32(word);
    const double r = random.Real(0.4, 1.0);
    const double g = random.Real(0.4, 1.0);
    const double b = random.Real(0.4, 1.0);
    for (int i = 0; i < 256; ++i) {
        out.U8(static_cast<unsigned>(b * i));
        out.U8(static_cast<unsigned>(g * i));
        out.U8(static_cast<unsigned>(r * i));
        out.U8(i == 0 ? 0 : 255);
    }
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double dx = (x - side / 2.0) / (side / 2.0);
            const double dy = (y - side / 2.0) / (side / 2.0);
            const double glow = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy));
            out.U8(static_cast<unsigned>(std::clamp(255 * glow + random.Range(-6, 6), 0.0, 255.0)));
        }
    }
    return out.Take();
}

std::vector<std::uint8_t> Tutorial(SampleRandom& random) {
    // Commands: 0x00 wait (16-bit frames), 0x02-0x0F a key press, 0x10 show a text, 0x11 end.
    ByteWriter out;
    for (int step = random.Range(6, 30); step > 0; --step) {
        const unsigned command = random.Chance(0.3)   ? 0x00
                                 : random.Chance(0.2) ? 0x10
                                                      : random.Range(2, 15);
        out.U8(command);
        if (command == 0x00) out.U16(random.Range(10, 120));
        if (command == 0x10) out.U8(random.Below(16));
    }
    out.U8(0x11);
    return out.Take();
}

std::vector<std::string_view> TextureNames() {
    return {"blink.tex",  "fire.tex",  "smoke.tex", "water1.tex",
            "water2.tex", "spark.tex", "light.tex", "shadow.tex"};
}

std::vector<std::string_view> TutorialNames() {
    return {"menu.tut", "save.tut", "phs.tut", "shop.tut", "materia.tut", "ladder.tut"};
}

}  // namespace sample
