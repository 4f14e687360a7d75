// Device contexts and what they draw: rectangles, filled areas, text, bit-block copies.
// Differs from the platform: a window's device context paints into the window's surface image
// under the surface's lock, one call at a time, so any thread may draw while the widget paints;
// with a null pen a rectangle's fill covers the whole [left, right) × [top, bottom); text is
// anti-aliased, "&" is not a mnemonic prefix, and the only line breaks are "\n", "\n\r", "\r\n"
// and a lone "\r"; a clipped line slightly wider than its box is drawn narrower to fit; BitBlt
// knows only SRCCOPY and copies nothing from outside the source's pixels; GetPixel answers
// CLR_INVALID where nothing has been drawn on a window.
#include <QPainter>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {
namespace {

struct DeviceContext {
    enum class Kind { Surface, Memory };
    Kind kind = Kind::Memory;
    std::function<Surface*()> resolve; // Surface kind only

    std::shared_ptr<FontObject> font = stockFont();
    std::shared_ptr<PenObject> pen = stockPen();
    std::shared_ptr<BrushObject> brush = stockBrush();
    std::shared_ptr<BitmapObject> bitmap = stockBitmap(); // Memory kind only

    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    bool bkColorSet = false;
    bool textColorSet = false;
};

std::mutex contextsMutex;
std::unordered_map<HDC, std::unique_ptr<DeviceContext>>& contexts() {
    static std::unordered_map<HDC, std::unique_ptr<DeviceContext>> live;
    return live;
}

HDC addContext(std::unique_ptr<DeviceContext> context) {
    HDC handle = reinterpret_cast<HDC>(context.get());
    std::lock_guard<std::mutex> lock(contextsMutex);
    contexts()[handle] = std::move(context);
    return handle;
}

// A device context belongs to the thread that uses it, as on the platform: the registry only
// tells live handles from dead ones.
DeviceContext* contextOf(HDC handle) {
    if (!handle) return nullptr;
    std::lock_guard<std::mutex> lock(contextsMutex);
    auto found = contexts().find(handle);
    return found == contexts().end() ? nullptr : found->second.get();
}

std::unique_ptr<DeviceContext> takeContext(HDC handle) {
    std::lock_guard<std::mutex> lock(contextsMutex);
    auto found = contexts().find(handle);
    if (found == contexts().end()) return nullptr;
    auto context = std::move(found->second);
    contexts().erase(found);
    return context;
}

QColor colorOf(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Runs `draw` on the pixels the context draws into, holding their lock. False when there are
// none any more (the window is gone).
template <class F> bool withPixels(DeviceContext& dc, F&& draw) {
    if (dc.kind == DeviceContext::Kind::Surface) {
        Surface* surface = dc.resolve ? dc.resolve() : nullptr;
        if (!surface) return false;
        std::lock_guard<std::mutex> lock(surface->mutex);
        if (surfacePixels(*surface)) {
            draw(surface->image);
            surface->drawn = true;
        }
        return true;
    }
    std::shared_ptr<BitmapObject> bitmap = dc.bitmap;
    std::lock_guard<std::mutex> lock(bitmap->mutex);
    draw(bitmap->image);
    return true;
}

QRect normalized(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// A rectangle of device pixels as the image's own pixels: a window's surface has the pixels of
// the window as shown, a device pixel covers [ceil(x × ratio), ceil((x + 1) × ratio)) of them.
QRect inPixels(const QImage& image, const QRect& rect) {
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0) return rect;
    const auto edge = [ratio](int x) { return static_cast<int>(std::ceil(x * ratio - 1e-9)); };
    const int left = edge(rect.left());
    const int top = edge(rect.top());
    return QRect(left, top, edge(rect.left() + rect.width()) - left, edge(rect.top() + rect.height()) - top);
}

// One line per "\n", "\n\r", "\r\n" or lone "\r".
std::vector<std::u16string_view> splitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'\n' || c == u'\r') {
            lines.push_back(text.substr(start, i - start));
            const char16_t pair = c == u'\n' ? u'\r' : u'\n';
            i += (i + 1 < text.size() && text[i + 1] == pair) ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

HDC createSurfaceDC(std::function<Surface*()> resolve) {
    if (!resolve || !resolve()) return nullptr;
    auto context = std::make_unique<DeviceContext>();
    context->kind = DeviceContext::Kind::Surface;
    context->resolve = std::move(resolve);
    return addContext(std::move(context));
}

bool releaseSurfaceDC(HDC dc) {
    std::unique_ptr<DeviceContext> context;
    {
        std::lock_guard<std::mutex> lock(contextsMutex);
        auto found = contexts().find(dc);
        if (found == contexts().end() || found->second->kind != DeviceContext::Kind::Surface) return false;
        context = std::move(found->second);
        contexts().erase(found);
    }
    // The window system may swap the repaint request while it closes the window: read it under
    // the surface's lock, call it outside (it may take locks of its own).
    std::function<void()> repaint;
    if (Surface* surface = context->resolve()) {
        std::lock_guard<std::mutex> lock(surface->mutex);
        repaint = surface->repaint;
    }
    if (repaint) repaint();
    return true;
}

TextState textStateOf(HDC handle) {
    TextState state;
    DeviceContext* dc = contextOf(handle);
    if (!dc) return state;
    if (dc->textColorSet) state.textColor = colorOf(dc->textColor);
    if (dc->bkColorSet) state.bkColor = colorOf(dc->bkColor);
    state.bkMode = dc->bkMode;
    if (!dc->font->stock && dc->font->resolve()) state.selectedFont = dc->font->font;
    return state;
}

} // namespace platform::gdi

using namespace platform::gdi;

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !contextOf(dc)) return nullptr;
    return addContext(std::make_unique<DeviceContext>());
}

BOOL DeleteDC(HDC dc) {
    DeviceContext* context = contextOf(dc);
    if (!context) return FALSE;
    if (context->kind == DeviceContext::Kind::Surface) return releaseSurfaceDC(dc) ? TRUE : FALSE;
    return takeContext(dc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    DeviceContext* dc = contextOf(handle);
    auto selected = lookupObject(object);
    if (!dc || !selected) return nullptr;
    HGDIOBJ previous = nullptr;
    switch (selected->kind) {
    case ObjectKind::Font:
        previous = dc->font->handle();
        dc->font = std::static_pointer_cast<FontObject>(selected);
        break;
    case ObjectKind::Pen:
        previous = dc->pen->handle();
        dc->pen = std::static_pointer_cast<PenObject>(selected);
        break;
    case ObjectKind::Brush:
        previous = dc->brush->handle();
        dc->brush = std::static_pointer_cast<BrushObject>(selected);
        break;
    case ObjectKind::Bitmap:
        if (dc->kind != DeviceContext::Kind::Memory) return nullptr; // only memory contexts hold bitmaps
        previous = dc->bitmap->handle();
        dc->bitmap = std::static_pointer_cast<BitmapObject>(selected);
        break;
    }
    return previous;
}

int SetBkMode(HDC handle, int mode) {
    DeviceContext* dc = contextOf(handle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
    DeviceContext* dc = contextOf(handle);
    if (!dc) return CLR_INVALID;
    const COLORREF previous = dc->bkColor;
    dc->bkColor = color & 0x00FFFFFF;
    dc->bkColorSet = true;
    return previous;
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
    DeviceContext* dc = contextOf(handle);
    if (!dc) return CLR_INVALID;
    const COLORREF previous = dc->textColor;
    dc->textColor = color & 0x00FFFFFF;
    dc->textColorSet = true;
    return previous;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = contextOf(handle);
    if (!dc) return FALSE;
    const QRect box = normalized(left, top, right, bottom);
    const std::optional<QColor> fill = dc->brush->color;
    const bool outlined = dc->pen->style != PS_NULL;
    const QColor line = dc->pen->color;
    const int width = dc->pen->width;
    return withPixels(*dc,
                      [&](QImage& image) {
                          QPainter painter(&image);
                          if (!outlined) {
                              if (fill) painter.fillRect(box, *fill);
                              return;
                          }
                          // The one-pixel outline runs on the rectangle's own edge pixels; a wider pen grows
                          // around that line, and the brush fills what lies inside the pen.
                          const QRect outer =
                              box.adjusted(-(width - 1) / 2, -(width - 1) / 2, width / 2, width / 2);
                          const QRect inner = outer.adjusted(width, width, -width, -width);
                          if (fill && inner.isValid()) painter.fillRect(inner, *fill);
                          painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), line);
                          painter.fillRect(
                              QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), line);
                          painter.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), line);
                          painter.fillRect(
                              QRect(outer.right() - width + 1, outer.top(), width, outer.height()), line);
                      })
               ? TRUE
               : FALSE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DeviceContext* dc = contextOf(handle);
    auto brush = lookupAs<BrushObject>(brushHandle, ObjectKind::Brush);
    if (!dc || !rect || !brush) return 0;
    if (rect->right <= rect->left || rect->bottom <= rect->top || !brush->color) return 1;
    const QRect area(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
    const QColor color = *brush->color;
    return withPixels(*dc,
                      [&](QImage& image) {
                          QPainter painter(&image);
                          painter.fillRect(area, color);
                      })
               ? 1
               : 0;
}

// Where the font runs wider than the device's did, a fixed text that fitted there is still read
// whole; a line much too wide is cut at the box's edge as on the device.
double platform::gdi::fittingSqueeze(int lineWidth, int boxWidth) {
    if (lineWidth <= boxWidth || boxWidth <= 0) return 1.0;
    const double squeeze = static_cast<double>(boxWidth) / lineWidth;
    return squeeze >= kNarrowestSqueeze ? squeeze : 1.0;
}

int DrawTextW(HDC handle, LPCWSTR text, int length, RECT* rect, UINT format) {
    DeviceContext* dc = contextOf(handle);
    if (!dc || !text || !rect) return 0;
    std::u16string_view all = length < 0 ? std::u16string_view(text) : std::u16string_view(text, length);
    if (all.empty()) return 0;

    std::vector<std::u16string_view> lines;
    std::u16string single;
    if (format & DT_SINGLELINE) {
        for (char16_t c : all)
            if (c != u'\n' && c != u'\r') single.push_back(c);
        lines.push_back(single);
    } else {
        lines = splitLines(all);
    }

    if (!dc->font->resolve()) return 0; // no fonts before the application object exists
    const QFont font = dc->font->font;
    const QFontMetrics metrics(font);
    const int lineHeight = dc->font->cellHeight;
    const int ascent = dc->font->ascent;
    const int height = lineHeight * static_cast<int>(lines.size());
    const bool clipped = !(format & DT_NOCLIP);
    const RECT r = *rect;
    // Clipped to a rectangle whose bottom lies above its top, nothing shows.
    if (clipped && (r.bottom <= r.top || r.right <= r.left)) return height;

    const QColor ink = colorOf(dc->textColor);
    const std::optional<QColor> paper =
        dc->bkMode == OPAQUE ? std::optional<QColor>(colorOf(dc->bkColor)) : std::nullopt;
    withPixels(*dc, [&](QImage& image) {
        QPainter painter(&image);
        if (clipped) painter.setClipRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
        painter.setFont(font);
        painter.setPen(ink);
        int y = r.top;
        for (std::u16string_view line : lines) {
            const QString shown = QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
            const int natural = metrics.horizontalAdvance(shown);
            const double squeeze = clipped ? fittingSqueeze(natural, r.right - r.left) : 1.0;
            const int width = squeeze < 1.0 ? r.right - r.left : natural;
            int x = r.left;
            if (format & DT_CENTER)
                x = r.left + (r.right - r.left - width) / 2;
            else if (format & DT_RIGHT)
                x = r.right - width;
            if (paper && width > 0) painter.fillRect(QRect(x, y, width, lineHeight), *paper);
            painter.save();
            painter.translate(x, y + ascent);
            painter.scale(squeeze, 1.0);
            painter.drawText(QPoint(0, 0), shown);
            painter.restore();
            y += lineHeight;
        }
    });
    return height;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    DeviceContext* to = contextOf(dest);
    DeviceContext* from = contextOf(source);
    if (!to || !from || rop != SRCCOPY) return FALSE;
    if (width <= 0 || height <= 0) return TRUE;
    // Take the source pixels first, so that no two locks are ever held at once (the source
    // and the destination may be the same surface).
    QImage piece;
    QPointF offset;
    const bool readable = withPixels(*from, [&](QImage& image) {
        const QRect wanted = inPixels(image, QRect(sourceX, sourceY, width, height));
        const QRect available = wanted.intersected(image.rect());
        if (available.isEmpty()) return;
        piece = image.copy(available);
        piece.setDevicePixelRatio(image.devicePixelRatio());
        offset = QPointF(available.topLeft() - wanted.topLeft()) / image.devicePixelRatio();
    });
    if (!readable) return FALSE;
    if (piece.isNull()) return TRUE; // nothing of the source lies there
    return withPixels(*to,
                      [&](QImage& image) {
                          QPainter painter(&image);
                          // A bitmap of the device's pixels onto a window shown larger: enlarged smoothly.
                          painter.setRenderHint(QPainter::SmoothPixmapTransform);
                          painter.setCompositionMode(QPainter::CompositionMode_Source);
                          painter.drawImage(QPointF(x, y) + offset, piece);
                      })
               ? TRUE
               : FALSE;
}

COLORREF GetPixel(HDC handle, int x, int y) {
    DeviceContext* dc = contextOf(handle);
    if (!dc) return CLR_INVALID;
    COLORREF result = CLR_INVALID;
    withPixels(*dc, [&](QImage& image) {
        const QPoint pixel = inPixels(image, QRect(x, y, 1, 1)).topLeft();
        if (!image.valid(pixel)) return;
        const QColor color = image.pixelColor(pixel);
        if (color.alpha() == 0) return;
        result = RGB(color.red(), color.green(), color.blue());
    });
    return result;
}
