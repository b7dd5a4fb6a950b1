#include "preview/fit_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace preview {

namespace {

constexpr int kChannels = 3;

std::uint8_t Widen(unsigned component) {
    return static_cast<std::uint8_t>((component << 3) | (component >> 2));
}

// Rounds to the nearest integer, halves to the even one (the default rounding mode).
int RoundHalfToEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// The source index of each target position: the truncated accumulated step, with its
// neighbours before and after, replaced by itself at the edges.
struct Samples {
    std::vector<int> before;
    std::vector<int> at;
    std::vector<int> after;
};

Samples SamplePositions(int sourceSide, int targetSide) {
    Samples samples;
    const double step = static_cast<double>(sourceSide) / targetSide;
    double position = 0;
    for (int i = 0; i < targetSide; ++i) {
        // The accumulated step stays below the source side; the clamp only guards the index.
        const int at = std::min(static_cast<int>(position), sourceSide - 1);
        samples.before.push_back(at > 0 ? at - 1 : at);
        samples.at.push_back(at);
        samples.after.push_back(at + 1 < sourceSide ? at + 1 : at);
        position += step;
    }
    return samples;
}

}  // namespace

QImage ExpandTo24Bits(const QImage& picture) {
    if (picture.format() != QImage::Format_RGB555) {
        return picture.convertToFormat(QImage::Format_RGB888);
    }
    QImage expanded(picture.size(), QImage::Format_RGB888);
    if (expanded.isNull() != picture.isNull()) throw std::bad_alloc();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* source = reinterpret_cast<const std::uint16_t*>(picture.constScanLine(y));
        std::uint8_t* target = expanded.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            const unsigned color = source[x];
            *target++ = Widen((color >> 10) & 0x1F);
            *target++ = Widen((color >> 5) & 0x1F);
            *target++ = Widen(color & 0x1F);
        }
    }
    return expanded;
}

void FitPicture(QImage& picture, int maxWidth, int maxHeight) {
    const int width = picture.width();
    const int height = picture.height();
    if (picture.isNull() || maxWidth <= 0 || maxHeight <= 0) {
        picture = QImage();
        return;
    }
    const double widthRatio = static_cast<double>(width) / maxWidth;
    const double heightRatio = static_cast<double>(height) / maxHeight;
    int newWidth = maxWidth;
    int newHeight = maxHeight;
    if (widthRatio > heightRatio) {
        newHeight = RoundHalfToEven(height / (static_cast<double>(width) / newWidth));
    } else {
        newWidth = RoundHalfToEven(width / (static_cast<double>(height) / newHeight));
    }
    if (newWidth <= 0 || newHeight <= 0) {
        picture = QImage();
        return;
    }

    const QImage source = ExpandTo24Bits(picture);
    QImage fitted(newWidth, newHeight, QImage::Format_RGB888);
    if (fitted.isNull()) throw std::bad_alloc();
    const Samples columns = SamplePositions(width, newWidth);
    const Samples rows = SamplePositions(height, newHeight);
    for (int j = 0; j < newHeight; ++j) {
        const std::uint8_t* sourceRows[] = {source.constScanLine(rows.before[j]),
                                            source.constScanLine(rows.at[j]),
                                            source.constScanLine(rows.after[j])};
        std::uint8_t* target = fitted.scanLine(j);
        for (int i = 0; i < newWidth; ++i) {
            const int sourceColumns[] = {columns.before[i], columns.at[i], columns.after[i]};
            for (int channel = 0; channel < kChannels; ++channel) {
                int sum = 0;
                for (const std::uint8_t* row : sourceRows) {
                    for (const int column : sourceColumns) sum += row[kChannels * column + channel];
                }
                *target++ = static_cast<std::uint8_t>(sum / 9);
            }
        }
    }
    picture = fitted;
}

}  // namespace preview
