// Never-crash target of the level background: any bytes as a decoded field file. A file too
// short for the background gives FormatError; otherwise the picture has 15-bit pixels with
// bit 15 clear, and fitting it into a box of at most 64 x 64 (chosen by the first two bytes)
// gives a 24-bit picture no larger than the box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include <QImage>

#include "lgp/format_error.h"
#include "preview/fit_picture.h"
#include "preview/level_background.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QImage picture;
    try {
        picture = preview::BuildLevelBackground(std::span<const std::uint8_t>(data, size));
    } catch (const lgp::FormatError&) {
        return 0;
    }
    if (picture.isNull()) return 0;
    if (picture.format() != QImage::Format_RGB555) std::abort();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint16_t*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (line[x] & 0x8000) std::abort();
        }
    }
    const int maxWidth = 1 + data[0] % 64;
    const int maxHeight = 1 + data[1] % 64;
    preview::FitPicture(picture, maxWidth, maxHeight);
    if (picture.isNull()) return 0;
    if (picture.format() != QImage::Format_RGB888 || picture.width() > maxWidth ||
        picture.height() > maxHeight) {
        std::abort();
    }
    return 0;
}
