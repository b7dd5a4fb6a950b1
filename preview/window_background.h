#pragma once

#include <QImage>

#include "preview/window_colors.h"

// Fills picture (Format_ARGB32, opaque) with the window's shaded background: the rectangle is
// split along its top-left to bottom-right diagonal, and each triangle is shaded linearly
// between its three corner colours, the corners sitting at (0, 0), (W, 0), (W, H) and (0, H).
// Pixel (x, y) takes the colour at point (x, y), rounded to the nearest value.
void FillWindowBackground(QImage& picture, const TWindowColors& colors);
