#include "preview/window_frame.h"

#include <array>
#include <string_view>

#include "preview/glyph_sets.h"

namespace {

// The frame's colours by letter; K is the key colour, transparent.
QRgb FrameColour(char letter) {
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
            return GlyphSets::kKeyColour & 0xFFFFFF;  // transparent
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

void Put(QImage& picture, int x, int y, QRgb colour) {
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return;
    reinterpret_cast<QRgb*>(picture.scanLine(y))[x] = colour;
}

void DrawCorner(QImage& picture, WindowCorner corner, int left, int top) {
    const CornerPiece& piece = Piece(corner);
    for (int y = 0; y < piece.height; ++y) {
        for (int x = 0; x < piece.width; ++x) {
            Put(picture, left + x, top + y,
                FrameColour(piece.rows[static_cast<std::size_t>(y * piece.width + x)]));
        }
    }
}

void Row(QImage& picture, int y, int fromX, int toX, char letter) {
    for (int x = fromX; x <= toX; ++x) Put(picture, x, y, FrameColour(letter));
}

void Column(QImage& picture, int x, int fromY, int toY, char letter) {
    for (int y = fromY; y <= toY; ++y) Put(picture, x, y, FrameColour(letter));
}

}  // namespace

void DrawWindowFrame(QImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    DrawCorner(picture, WindowCorner::TopRight, w - 4, 0);
    DrawCorner(picture, WindowCorner::TopLeft, 0, 0);
    DrawCorner(picture, WindowCorner::BottomLeft, 0, h - 4);
    DrawCorner(picture, WindowCorner::BottomRight, w - 3, h - 3);
    // Each band line appears only once the window is big enough for it, as the game's do.
    if (w >= 8) {
        if (h >= 6) Row(picture, 0, 3, w - 5, 'A');
        if (h >= 5) Row(picture, 1, 3, w - 5, 'B');
        if (h >= 4) Row(picture, 2, 3, w - 5, 'C');
    }
    if (w >= 7) {
        if (h >= 3) Row(picture, h - 3, 3, w - 4, 'A');
        if (h >= 2) Row(picture, h - 2, 3, w - 4, 'B');
        if (h >= 1) Row(picture, h - 1, 3, w - 4, 'C');
    }
    if (h >= 8) {
        if (w >= 6) Column(picture, 0, 3, h - 5, 'D');
        if (w >= 5) Column(picture, 1, 3, h - 5, 'E');
        if (w >= 4) Column(picture, 2, 3, h - 5, 'F');
    }
    if (h >= 7) {
        if (w >= 3) Column(picture, w - 3, 3, h - 4, 'D');
        if (w >= 2) Column(picture, w - 2, 3, h - 4, 'E');
        if (w >= 1) Column(picture, w - 1, 3, h - 4, 'F');
    }
}
