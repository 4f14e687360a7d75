// The device's bold: an emboldened copy of the regular face, made once from its outlines.
// Differs from the platform: Qt emboldens a regular face itself, but by a fixed number of screen
// pixels whatever the device's scale, so at scale 2 and more bold hardly differs from regular.
// A face of its own is scaled with the text like any outline, so bold looks the same at every
// scale (and the wine Tahoma's own bold file is wider but hardly heavier).
#pragma once

#include <QByteArray>

namespace platform::gdi {

// How much emboldenedFace thickens, as a fraction of the em (1/24: what Qt's own emboldening adds
// at scale 1), and a version to raise whenever it makes other outlines: both key the cached copies.
constexpr int emboldeningDivisor = 24;
constexpr int emboldeningVersion = 1;

// A TrueType face with every glyph of `regular` thickened by a 24th of the em (what Qt's own
// emboldening adds at scale 1), advances widened by as much, marked weight 700. Hinting and
// embedded bitmaps are left out. Empty when `regular` cannot be read as a TrueType face.
QByteArray emboldenedFace(const QByteArray& regular);

} // namespace platform::gdi
