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
};

// Implemented by the window system: the surface of a live window, or null.
Surface* surfaceOf(HWND hwnd);

} // namespace platform
