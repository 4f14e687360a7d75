// Layer-private: the objects behind GDI handles and device contexts.
// A handle is the address of its object; a registry tells live handles from dead or foreign
// ones, so a wrong handle fails the call instead of crashing. Objects are shared: a device
// context keeps what is selected into it alive even after DeleteObject, as the platform defers
// such a deletion until the object is no longer selected.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"

namespace platform::gdi {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

enum class ObjectKind { Font, Pen, Brush, Bitmap };

struct GdiObject {
    explicit GdiObject(ObjectKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const ObjectKind kind;
    bool stock = false; // stock objects live forever; deleting one does nothing
    HGDIOBJ handle() { return reinterpret_cast<HGDIOBJ>(this); }
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(ObjectKind::Font) {}
    LOGFONTW description{};

    // The Qt font, made at first use: Qt cannot make fonts before the application object
    // exists, and a font description may be created earlier. False while it cannot be made.
    bool resolve();
    QFont font;
    int ascent = 0;     // baseline below the top of a line, in pixels
    int cellHeight = 0; // one line of text, in pixels, as the platform spaces lines

  private:
    std::mutex mutex_;
    bool made_ = false;
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(ObjectKind::Pen) {}
    int style = PS_SOLID;
    int width = 1;
    QColor color;
};

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(ObjectKind::Brush) {}
    std::optional<QColor> color; // empty: the null brush
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
    std::mutex mutex; // held while the pixels are read or drawn (a memory DC may draw into them)
    QImage image;     // always Format_RGB32, whatever the file held
    int bitsPerPixel = 24;
};

// Registry of live objects (thread-safe). Lookup of an unknown or deleted handle gives null.
HGDIOBJ registerObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> lookupObject(HGDIOBJ handle);
template <class T> std::shared_ptr<T> lookupAs(HGDIOBJ handle, ObjectKind kind) {
    auto object = lookupObject(handle);
    if (!object || object->kind != kind) return nullptr;
    return std::static_pointer_cast<T>(object);
}

// The objects a fresh device context starts with.
std::shared_ptr<FontObject> stockFont();
std::shared_ptr<PenObject> stockPen();       // BLACK_PEN
std::shared_ptr<BrushObject> stockBrush();   // WHITE_BRUSH
std::shared_ptr<BitmapObject> stockBitmap(); // the 1 × 1 bitmap of a new memory DC

// A device context that draws into the surface `resolve` gives at each call (null: the window is
// gone and the call does nothing). Releasing it asks the surface to repaint.
HDC createSurfaceDC(std::function<Surface*()> resolve);
inline HDC createSurfaceDC(Surface* surface) {
    return createSurfaceDC([surface] { return surface; });
}
// Ends a device context made by createSurfaceDC: repaints its surface and frees it. False for a
// handle that is not a live window device context.
bool releaseSurfaceDC(HDC dc);

} // namespace platform::gdi
