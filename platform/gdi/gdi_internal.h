// Layer-internal: what the window system needs from drawing (fonts for WM_SETFONT, the state
// of a device context after WM_CTLCOLORSTATIC and custom draw, brush colours, bitmaps).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <optional>

#include "platform/gdi/font_tables.h"
#include "platform/gdi/gdi.h"

namespace platform::gdi {

QFont fontOf(HFONT font);                       // a default font for null or unknown handles
std::optional<QColor> brushColor(HBRUSH brush); // empty for the null brush and unknown handles
QImage bitmapImage(HBITMAP bitmap);             // null image for unknown handles

struct TextState {
    std::optional<QColor> textColor;       // set by SetTextColor
    int bkMode = OPAQUE;                   // SetBkMode
    std::optional<QColor> bkColor;         // set by SetBkColor
    std::optional<QFont> selectedFont;     // a font selected with SelectObject
};
TextState textStateOf(HDC dc);

// Registers the fonts shipped with the system (Tahoma, MS Sans Serif of fonts-wine) once.
void registerDeviceFonts();
// The family that "Tahoma" and "MS Sans Serif" stand for: the registered Tahoma, else DejaVu Sans.
QString deviceFontFamily();

// The platform's character cell of a family at a weight, per pixel of character size; the
// device face's is read from its file, so measuring it costs no font engine.
CellMetrics cellMetrics(const QString& family, int weight);

// How much narrower DrawText draws a clipped line of `lineWidth` pixels in a box `boxWidth` wide:
// 1 when it fits, the ratio when a narrowing down to kNarrowestSqueeze makes it fit (a few percent
// is not seen, a letter cut in half is), else 1 again and the line is cut at the box's edge.
constexpr double kNarrowestSqueeze = 0.9;
double fittingSqueeze(int lineWidth, int boxWidth);

} // namespace platform::gdi
