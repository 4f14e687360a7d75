// Layer-internal: the pixels of one window that device contexts draw into and the window's
// widget paints on top of its own look. Drawing may happen on any thread; the widget paints
// on the interface thread. Screens never include this (it names Qt).
#pragma once

#include <QImage>
#include <functional>
#include <mutex>

#include "platform/ui/win_types.h"

namespace platform {

struct Surface {
    std::mutex mutex;             // held while a device context draws and while the widget paints
    QImage image;                 // ARGB32 premultiplied, transparent where nothing was drawn; widget size
    bool drawn = false;           // something was drawn since the image was made (else it is all clear)
    std::function<void()> repaint; // asks the widget to repaint (queued, safe from any thread)
    QSize size;                   // the widget's pixels; empty once the window is gone
    qreal ratio = 1;              // image pixels per device pixel
};

// The image, made clear at the widget's size when something first draws on it (call with the lock
// held): most windows are never drawn on, and at a large scale their images would cost start-up
// megabytes. False when there is nothing to draw on (the window is gone).
inline bool surfacePixels(Surface& surface) {
    if (surface.image.isNull() && !surface.size.isEmpty()) {
        surface.image = QImage(surface.size, QImage::Format_ARGB32_Premultiplied);
        surface.image.setDevicePixelRatio(surface.ratio);
        surface.image.fill(Qt::transparent);
    }
    return !surface.image.isNull();
}

// Implemented by the window system: the surface of a live window, or null.
Surface* surfaceOf(HWND hwnd);

} // namespace platform
