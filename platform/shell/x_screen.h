// The height of the X display's screen, asked of the X server directly.
#pragma once

namespace platform {

// The height in pixels of the screen of $DISPLAY, when Qt will run on X and the server answers;
// 0 otherwise (another window system, no X library at build time, no server).
int xScreenHeight();

} // namespace platform
