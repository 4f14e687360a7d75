// Asking the X server for the screen's size costs one connection; asking Qt costs a whole
// application started and ended before the program's own (a tenth of a second), since the scale
// must be known before the program's application starts.
#include "platform/shell/x_screen.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#ifdef TALVINO_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace platform {

namespace {

// Qt goes to X when told so, or when not told and no Wayland compositor is there.
bool qtWillUseX() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return std::strncmp(platform, "xcb", 3) == 0;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return !wayland || !*wayland;
}

} // namespace

int xScreenHeight() {
#ifdef TALVINO_HAVE_XCB
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || !qtWillUseX()) return 0;
    static int screenNumber = 0;
    // Kept open until the process ends: a server whose last client leaves resets itself and
    // refuses the next one for a moment, which would be the program's own application.
    static const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, &screenNumber), xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) return 0;
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screen.rem; ++i)
        xcb_screen_next(&screen);
    return screen.rem ? screen.data->height_in_pixels : 0;
#else
    return 0;
#endif
}

} // namespace platform
