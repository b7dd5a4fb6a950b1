#pragma once

#include <QImage>

namespace preview {

// The picture in QImage::Format_RGB888. A Format_RGB555 picture has each five-bit component
// v widened to (v << 3) | (v >> 2), so that 0 stays 0 and 31 becomes 255; other formats are
// converted by Qt. A null picture stays null.
QImage ExpandTo24Bits(const QImage& picture);

// Replaces picture by a copy that fits into maxWidth x maxHeight with its proportions kept,
// in QImage::Format_RGB888: the side whose ratio to its maximum is larger takes its maximum,
// the other its proportional size rounded half to even; a smaller picture is enlarged. Each
// target pixel is the average of the 3 x 3 source pixels around the sampled one (rounded
// down; at the picture's edges the sampled pixel stands in for the missing neighbours), the
// sample advancing by an accumulated floating-point step. The picture becomes null when it
// is null, when a maximum is not positive, or when a side rounds to 0.
void FitPicture(QImage& picture, int maxWidth, int maxHeight);

}  // namespace preview
