// A fast copy of the primary screen on X11, through a shared-memory segment:
// the display server writes the pixels straight into our memory instead of
// sending 8 MB of a full-HD screen down the socket.
#pragma once

#include "platform/Services.h"

namespace durmivela::qt {

// False when not on X11, without the MIT-SHM extension, on a screen format
// other than 24-bit true colour in 32-bit pixels, or on any X error; the caller
// then falls back to Qt's own grab.
bool grabPrimaryScreenXcb(Image& image);

}  // namespace durmivela::qt
