// Fonts, pens, brushes and the handle registry.
// Differs from the platform: fonts are Qt fonts; "Tahoma" and "MS Sans Serif" both become the
// Tahoma of fonts-wine (DejaVu Sans where it is missing), since the wine "MS Sans Serif" is a
// bitmap face that looks poor scaled; a positive height is matched to the cell height to the
// nearest whole pixel of character size; pens know only solid and null; only bitmaps and fonts
// answer GetObjectW.
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/gdi/bold_face_cache.h"
#include "platform/gdi/font_tables.h"
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {
namespace {

std::mutex registryMutex;
std::unordered_map<HGDIOBJ, std::shared_ptr<GdiObject>>& registry() {
    static std::unordered_map<HGDIOBJ, std::shared_ptr<GdiObject>> objects;
    return objects;
}

QColor colorOf(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The family that "Tahoma" and "MS Sans Serif" stand for, known after registerDeviceFonts.
std::mutex familyMutex;
QString deviceFamily = QStringLiteral("DejaVu Sans");

QString familyFor(const std::u16string& face) {
    registerDeviceFonts();
    if (face.empty() || face == u"Tahoma" || face == u"MS Sans Serif" || face == u"System") {
        std::lock_guard<std::mutex> lock(familyMutex);
        return deviceFamily;
    }
    return QString::fromStdU16String(face);
}

// The device face's cell, read from its file when it is registered.
std::optional<CellMetrics> deviceCell;

} // namespace

QString deviceFontFamily() {
    return familyFor(u"Tahoma");
}

CellMetrics cellMetrics(const QString& family, int weight) {
    registerDeviceFonts();
    {
        // The emboldened face keeps the regular one's vertical metrics.
        std::lock_guard<std::mutex> lock(familyMutex);
        if (deviceCell && family == deviceFamily) return *deviceCell;
    }
    static std::mutex cacheMutex;
    static std::map<std::pair<QString, int>, CellMetrics> cache;
    std::lock_guard<std::mutex> lock(cacheMutex);
    auto key = std::make_pair(family, weight);
    auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    QFont probe(family);
    probe.setPixelSize(200);
    probe.setWeight(static_cast<QFont::Weight>(weight));
    const QRawFont raw = QRawFont::fromFont(probe);
    std::optional<CellMetrics> fromFile;
    if (raw.isValid()) fromFile = cellMetricsOfTables(raw.fontTable("OS/2"), raw.fontTable("head"));
    CellMetrics metrics;
    if (fromFile) {
        metrics = *fromFile;
    } else {
        QFontMetricsF qt(probe);
        metrics.ascent = qt.ascent() / 200.0;
        metrics.descent = qt.descent() / 200.0;
        if (!plausibleCell(metrics)) metrics = CellMetrics();
    }
    cache.emplace(key, metrics);
    return metrics;
}

namespace {

void makeFont(FontObject& object) {
    const LOGFONTW& d = object.description;
    std::u16string face;
    for (int i = 0; i < 32 && d.lfFaceName[i]; ++i)
        face.push_back(d.lfFaceName[i]);
    QFont font(familyFor(face));
    const int weight = d.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(d.lfWeight, 100, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(d.lfItalic != 0);
    font.setUnderline(d.lfUnderline != 0);
    font.setStrikeOut(d.lfStrikeOut != 0);
    const CellMetrics cell = cellMetrics(font.family(), weight);
    int pixels;
    if (d.lfHeight > 0) {
        // Positive: the cell height, so the character size is smaller by the internal leading.
        pixels = static_cast<int>(std::lround(d.lfHeight / (cell.ascent + cell.descent)));
    } else if (d.lfHeight < 0) {
        pixels = -d.lfHeight;
    } else {
        pixels = 11; // the system font's size (8 points on the 96 DPI device)
    }
    pixels = std::max(1, pixels);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::PreferAntialias);
    // Set, not inherited from the dialog: full hinting picks the face's embedded bitmaps at some
    // sizes, which cannot be drawn bold.
    font.setHintingPreference(QFont::PreferNoHinting);
    object.font = font;
    object.ascent = static_cast<int>(std::lround(pixels * cell.ascent));
    object.cellHeight = object.ascent + static_cast<int>(std::lround(pixels * cell.descent));
}

LOGFONTW systemFontDescription() {
    LOGFONTW d{};
    d.lfHeight = -11;
    d.lfWeight = FW_NORMAL;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), d.lfFaceName);
    return d;
}

template <class T> std::shared_ptr<T> makeStock() {
    auto object = std::make_shared<T>();
    object->stock = true;
    return object;
}

std::shared_ptr<BrushObject> stockBrushOf(std::optional<QColor> color) {
    auto brush = makeStock<BrushObject>();
    brush->color = color;
    registerObject(brush);
    return brush;
}

std::shared_ptr<PenObject> stockPenOf(int style, QColor color) {
    auto pen = makeStock<PenObject>();
    pen->style = style;
    pen->color = color;
    registerObject(pen);
    return pen;
}

} // namespace

HGDIOBJ registerObject(std::shared_ptr<GdiObject> object) {
    if (!object) return nullptr;
    HGDIOBJ handle = object->handle();
    std::lock_guard<std::mutex> lock(registryMutex);
    registry()[handle] = std::move(object);
    return handle;
}

std::shared_ptr<GdiObject> lookupObject(HGDIOBJ handle) {
    if (!handle) return nullptr;
    std::lock_guard<std::mutex> lock(registryMutex);
    auto found = registry().find(handle);
    return found == registry().end() ? nullptr : found->second;
}

std::shared_ptr<FontObject> stockFont() {
    static const std::shared_ptr<FontObject> font = [] {
        auto f = makeStock<FontObject>();
        f->description = systemFontDescription();
        registerObject(f);
        return f;
    }();
    return font;
}

std::shared_ptr<PenObject> stockPen() {
    static const std::shared_ptr<PenObject> pen = stockPenOf(PS_SOLID, Qt::black);
    return pen;
}

std::shared_ptr<BrushObject> stockBrush() {
    static const std::shared_ptr<BrushObject> brush = stockBrushOf(QColor(Qt::white));
    return brush;
}

std::shared_ptr<BitmapObject> stockBitmap() {
    static const std::shared_ptr<BitmapObject> bitmap = [] {
        auto b = makeStock<BitmapObject>();
        b->image = QImage(1, 1, QImage::Format_RGB32);
        b->image.fill(Qt::black);
        b->bitsPerPixel = 1;
        registerObject(b);
        return b;
    }();
    return bitmap;
}

bool FontObject::resolve() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!made_ && QGuiApplication::instance()) {
        makeFont(*this);
        made_ = true;
    }
    return made_;
}

QFont fontOf(HFONT handle) {
    auto font = lookupAs<FontObject>(handle, ObjectKind::Font);
    if (font && font->resolve()) return font->font;
    auto fallback = stockFont();
    return fallback->resolve() ? fallback->font : QFont();
}

std::optional<QColor> brushColor(HBRUSH handle) {
    if (auto brush = lookupAs<BrushObject>(handle, ObjectKind::Brush)) return brush->color;
    return std::nullopt;
}

QImage bitmapImage(HBITMAP handle) {
    auto bitmap = lookupAs<BitmapObject>(handle, ObjectKind::Bitmap);
    if (!bitmap) return QImage();
    std::lock_guard<std::mutex> lock(bitmap->mutex);
    return bitmap->image.copy();
}

void registerDeviceFonts() {
    static std::once_flag once;
    // The font database needs the application object; without one, try again on a later call.
    if (!QGuiApplication::instance()) return;
    std::call_once(once, [] {
        // The regular face and a bold made from it (bold_face.h), made with the program or else kept
        // in the user's cache, as making it costs a start-up a good share of its time; the bold
        // file of the wine set is wider but hardly heavier, so bold text would not read as bold.
        QString tahoma;
        const QString path = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        QFile file(path);
        std::optional<CellMetrics> cell;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray regular = withWindowsLineSpacing(file.readAll());
            cell = fileCellMetrics(regular);
            const QStringList families =
                QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(regular));
            if (!families.isEmpty()) {
                tahoma = families.first();
                QByteArray bold = shippedEmboldenedFace(regular);
                if (bold.isEmpty()) bold = cachedEmboldenedFace(regular);
                if (!bold.isEmpty()) QFontDatabase::addApplicationFontFromData(bold);
            }
        }
        const QString family = tahoma.isEmpty() ? QStringLiteral("DejaVu Sans") : tahoma;
        {
            std::lock_guard<std::mutex> lock(familyMutex);
            deviceFamily = family;
            if (!tahoma.isEmpty()) deviceCell = cell;
        }
        // Fonts made by name elsewhere in the layer (dialog templates) find the same face.
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), family);
        if (tahoma.isEmpty()) QFont::insertSubstitution(QStringLiteral("Tahoma"), family);
    });
}

} // namespace platform::gdi

using namespace platform::gdi;

HFONT CreateFontIndirectW(const LOGFONTW* description) {
    if (!description) return nullptr;
    auto font = std::make_shared<FontObject>();
    font->description = *description;
    return registerObject(font);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style != PS_SOLID && style != PS_NULL) return nullptr;
    auto pen = std::make_shared<PenObject>();
    pen->style = style;
    pen->width = std::max(1, width); // width 0 is the one-pixel pen
    pen->color = colorOf(color);
    return registerObject(pen);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto brush = std::make_shared<BrushObject>();
    brush->color = colorOf(color);
    return registerObject(brush);
}

HGDIOBJ GetStockObject(int which) {
    switch (which) {
    case WHITE_BRUSH:
        return stockBrush()->handle();
    case 1: { // LTGRAY_BRUSH
        static auto brush = stockBrushOf(QColor(0xC0, 0xC0, 0xC0));
        return brush->handle();
    }
    case 2: { // GRAY_BRUSH
        static auto brush = stockBrushOf(QColor(0x80, 0x80, 0x80));
        return brush->handle();
    }
    case 3: { // DKGRAY_BRUSH
        static auto brush = stockBrushOf(QColor(0x40, 0x40, 0x40));
        return brush->handle();
    }
    case BLACK_BRUSH: {
        static auto brush = stockBrushOf(QColor(Qt::black));
        return brush->handle();
    }
    case NULL_BRUSH: {
        static auto brush = stockBrushOf(std::nullopt);
        return brush->handle();
    }
    case 6: { // WHITE_PEN
        static auto pen = stockPenOf(PS_SOLID, Qt::white);
        return pen->handle();
    }
    case BLACK_PEN:
        return stockPen()->handle();
    case 8: { // NULL_PEN
        static auto pen = stockPenOf(PS_NULL, Qt::black);
        return pen->handle();
    }
    case 13: // SYSTEM_FONT
    case 17: // DEFAULT_GUI_FONT
        return stockFont()->handle();
    default:
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ handle) {
    std::shared_ptr<GdiObject> doomed; // freed outside the lock
    std::lock_guard<std::mutex> lock(registryMutex);
    auto found = registry().find(handle);
    if (found == registry().end()) return FALSE;
    if (found->second->stock) return TRUE;
    // A device context that still has it selected keeps it alive until it lets go.
    doomed = std::move(found->second);
    registry().erase(found);
    return TRUE;
}

int GetObjectW(HGDIOBJ handle, int size, void* out) {
    auto object = lookupObject(handle);
    if (!object) return 0;
    if (object->kind == ObjectKind::Bitmap) {
        if (!out) return static_cast<int>(sizeof(BITMAP));
        if (size < static_cast<int>(sizeof(BITMAP))) return 0;
        auto bitmap = std::static_pointer_cast<BitmapObject>(object);
        BITMAP info{};
        {
            std::lock_guard<std::mutex> lock(bitmap->mutex);
            info.bmWidth = bitmap->image.width();
            info.bmHeight = bitmap->image.height();
        }
        info.bmPlanes = 1;
        info.bmBitsPixel = static_cast<WORD>(bitmap->bitsPerPixel);
        info.bmWidthBytes = ((info.bmWidth * bitmap->bitsPerPixel + 15) / 16) * 2; // rows are word-aligned
        std::memcpy(out, &info, sizeof info);
        return static_cast<int>(sizeof(BITMAP));
    }
    if (object->kind == ObjectKind::Font) {
        if (!out) return static_cast<int>(sizeof(LOGFONTW));
        const int n = std::min<int>(size, sizeof(LOGFONTW));
        if (n <= 0) return 0;
        std::memcpy(out, &std::static_pointer_cast<FontObject>(object)->description, n);
        return n;
    }
    return 0;
}
