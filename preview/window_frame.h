#pragma once

#include <QImage>

// The game's dialogue-window frame: a three-pixel bevel along each edge and four cut corners,
// whose outer pixels are transparent.

namespace preview {

// Draws the frame over picture (Format_ARGB32), whose size is the window's. The corners'
// outer pixels are written as the key colour with alpha 0, transparent. Small pictures get
// only the bands that fit; nothing is drawn outside the picture, nor into a picture that is
// not of 32 bits per pixel.
void DrawWindowFrame(QImage& picture);

}  // namespace preview
