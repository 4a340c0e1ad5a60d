// The screen through the desktop portal (org.freedesktop.portal.Screenshot on
// the session bus): on Wayland the display server shows no other client the
// screen, so X11 grabs and Qt's own grab get nothing.
#pragma once

#include "platform/Services.h"

#include <chrono>

class QImage;

namespace durmivela::qt {

// True in a Wayland session (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE=wayland),
// also for a program running under XWayland.
bool waylandSession();

// A Qt image's pixels as 0xXXRRGGBB rows; false for a null image.
bool imageFromQt(const QImage& picture, Image& image);

class PortalScreenshot {
public:
    // The whole exchange gives up after `limit`: a permission dialog that nobody
    // answers at night must not hold back the shutdown.
    explicit PortalScreenshot(std::chrono::milliseconds limit = std::chrono::seconds(5)) : limit_(limit) {}

    // The portal's non-interactive screenshot; false when there is no portal,
    // it refused, or it did not answer in time. Blocks the calling thread
    // without running its event loop (see the .cpp for why).
    bool capture(Image& image) const;

private:
    std::chrono::milliseconds limit_;
};

}  // namespace durmivela::qt
