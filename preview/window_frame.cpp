#include "preview/window_frame.h"

#include <array>
#include <string_view>

#include "preview/glyph_sets.h"

namespace preview {

namespace {

// The frame's colours by letter; K is the key colour, transparent.
QRgb FrameColor(char letter) {
    switch (letter) {
        case 'A':
            return qRgb(148, 150, 148);
        case 'B':
            return qRgb(222, 223, 222);
        case 'C':
            return qRgb(74, 73, 74);
        case 'D':
            return qRgb(123, 121, 123);
        case 'E':
            return qRgb(198, 199, 198);
        case 'F':
            return qRgb(49, 48, 49);
        default:
            return GlyphSets::kKeyColor & 0xFFFFFF;  // transparent
    }
}

enum class WindowCorner { TopLeft, TopRight, BottomLeft, BottomRight };

struct CornerPiece {
    int width;
    int height;
    std::string_view rows;  // one letter per pixel, row after row
};

constexpr std::array<CornerPiece, 4> kCorners = {{
    {3, 3,
     "KKA"
     "KDB"
     "DED"},
    {4, 3,
     "ACKK"
     "BAFK"
     "AEDF"},
    {3, 4,
     "DED"
     "FDE"
     "KFA"
     "KKC"},
    {3, 3,
     "EDF"
     "AFK"
     "CKK"},
}};

const CornerPiece& Piece(WindowCorner corner) { return kCorners[static_cast<std::size_t>(corner)]; }

void Put(QImage& picture, int x, int y, QRgb color) {
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return;
    reinterpret_cast<QRgb*>(picture.scanLine(y))[x] = color;
}

void DrawCorner(QImage& picture, WindowCorner corner, int left, int top) {
    const CornerPiece& piece = Piece(corner);
    for (int y = 0; y < piece.height; ++y) {
        for (int x = 0; x < piece.width; ++x) {
            Put(picture, left + x, top + y,
                FrameColor(piece.rows[static_cast<std::size_t>(y * piece.width + x)]));
        }
    }
}

void Row(QImage& picture, int y, int fromX, int toX, char letter) {
    for (int x = fromX; x <= toX; ++x) Put(picture, x, y, FrameColor(letter));
}

void Column(QImage& picture, int x, int fromY, int toY, char letter) {
    for (int y = fromY; y <= toY; ++y) Put(picture, x, y, FrameColor(letter));
}

}  // namespace

void DrawWindowFrame(QImage& picture) {
    if (picture.depth() != 32) return;
    const int w = picture.width();
    const int h = picture.height();
    DrawCorner(picture, WindowCorner::TopRight, w - 4, 0);
    DrawCorner(picture, WindowCorner::TopLeft, 0, 0);
    DrawCorner(picture, WindowCorner::BottomLeft, 0, h - 4);
    DrawCorner(picture, WindowCorner::BottomRight, w - 3, h - 3);
    // Each edge is a band of three lines, taken from the top or from the left; each line
    // appears only once the window is big enough for it, as the game's do.
    constexpr std::string_view kHorizontal = "ABC";
    constexpr std::string_view kVertical = "DEF";
    if (w >= 8) {
        for (int k = 0; k < 3; ++k) {
            if (h >= 6 - k) Row(picture, k, 3, w - 5, kHorizontal[k]);
        }
    }
    if (w >= 7) {
        for (int k = 0; k < 3; ++k) {
            if (h >= 3 - k) Row(picture, h - 3 + k, 3, w - 4, kHorizontal[k]);
        }
    }
    if (h >= 8) {
        for (int k = 0; k < 3; ++k) {
            if (w >= 6 - k) Column(picture, k, 3, h - 5, kVertical[k]);
        }
    }
    if (h >= 7) {
        for (int k = 0; k < 3; ++k) {
            if (w >= 3 - k) Column(picture, w - 3 + k, 3, h - 4, kVertical[k]);
        }
    }
}

}  // namespace preview
