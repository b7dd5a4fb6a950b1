#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// The face of a tag button of the special-characters tool bar, drawn at run time so that the
// whole row of tags fits the window: a swatch of the game's text colour for the colour tags,
// the look of the effect for "{BLINK}" and "{MULTICOLOUR}", and the initials of the name for
// the character and party-member tags. A null icon for any other caption.
QIcon TagButtonFace(const QString& tag);

}  // namespace ui
