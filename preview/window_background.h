#pragma once

#include <QImage>

#include "preview/window_colors.h"

namespace preview {

// Fills picture with the window's shaded background, opaque: the rectangle is split along its
// top-left to bottom-right diagonal, and each triangle is shaded linearly between its three
// corner colours, the corners sitting at (0, 0), (W, 0), (W, H) and (0, H). Pixel (x, y) takes
// the colour at point (x, y), rounded to the nearest value (halves up). A picture that is not
// of 32 bits per pixel is left as it is.
void FillWindowBackground(QImage& picture, const TWindowColors& colors);

}  // namespace preview
