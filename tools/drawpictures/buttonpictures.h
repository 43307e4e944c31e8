// SPDX-License-Identifier: GPL-3.0-or-later
// The 42 x 42 tool button pictures: a bitmap on a magenta ground and its black/white mask.
#pragma once

#include <QString>

namespace buttonpictures
{

// Draws each button antialiased on a transparent ground and splits it at 50 % coverage into
// the bitmap (magenta where transparent) and the mask (white = opaque, black = transparent).
// Edge pixels keep the object's own colour, so the icon stays clean on light and dark toolbars.
// Writes <folder>/<name>.bmp and <folder>/<name>_mask.bmp for every button.
bool writeAll(const QString &folder);

} // namespace buttonpictures
