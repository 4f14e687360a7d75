// An X client that stays connected until its standard input closes, as a desktop's window manager
// and panels stay: an X server whose last client leaves resets itself, and the next program to
// connect waits for that; run.sh keeps one connected so no measured start pays for the reset.
#include <xcb/xcb.h>

#include <cstdio>
#include <unistd.h>

int main() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X server to connect to\n");
        xcb_disconnect(connection);
        return 1;
    }
    std::puts("connected");
    std::fflush(stdout);
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    xcb_disconnect(connection);
    return 0;
}
