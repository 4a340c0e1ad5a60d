#include "platform/qt/XcbScreenGrab.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstdint>

namespace durmivela::qt {
namespace {

// The root visual must be 0xRRGGBB in 32-bit pixels, as the BMP writer reads them.
bool isRgb32(const xcb_setup_t* setup, const xcb_screen_t* screen) {
    if (screen->root_depth != 24) return false;
    bool bpp32 = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == 24) bpp32 = it.data->bits_per_pixel == 32;
    if (!bpp32 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return false;
    for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem; xcb_depth_next(&depth))
        for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem; xcb_visualtype_next(&visual))
            if (visual.data->visual_id == screen->root_visual)
                return visual.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && visual.data->red_mask == 0xFF0000 &&
                       visual.data->green_mask == 0x00FF00 && visual.data->blue_mask == 0x0000FF;
    return false;
}

// A System V segment that both processes map; removed as soon as it is attached.
class SharedSegment {
public:
    explicit SharedSegment(std::size_t bytes) {
        id_ = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id_ < 0) return;
        void* address = shmat(id_, nullptr, 0);
        if (address == reinterpret_cast<void*>(-1)) {
            shmctl(id_, IPC_RMID, nullptr);
            id_ = -1;
            return;
        }
        address_ = address;
    }
    ~SharedSegment() {
        if (address_) shmdt(address_);
        if (id_ >= 0) shmctl(id_, IPC_RMID, nullptr);
    }
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;
    bool valid() const { return address_ != nullptr; }
    int id() const { return id_; }
    const void* data() const { return address_; }

private:
    int id_ = -1;
    void* address_ = nullptr;
};

}  // namespace

bool grabPrimaryScreenXcb(Image& image) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!x11 || !primary) return false;
    xcb_connection_t* connection = x11->connection();
    if (!connection) return false;  // offscreen and minimal platforms report no connection
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present) return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (!screen || !isRgb32(setup, screen)) return false;

    // The primary monitor's part of the root window, in device pixels.
    const QRect area(primary->geometry().topLeft() * primary->devicePixelRatio(),
                     primary->geometry().size() * primary->devicePixelRatio());
    if (area.isEmpty()) return false;
    const auto width = static_cast<std::size_t>(area.width());
    const auto height = static_cast<std::size_t>(area.height());
    SharedSegment segment(width * height * 4);
    if (!segment.valid()) return false;

    const xcb_shm_seg_t seg = xcb_generate_id(connection);
    if (xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_shm_attach_checked(connection, seg, segment.id(), 0))) {
        std::free(error);
        return false;
    }
    xcb_generic_error_t* error = nullptr;
    xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(
        connection,
        xcb_shm_get_image(connection, screen->root, static_cast<std::int16_t>(area.x()),
                          static_cast<std::int16_t>(area.y()), static_cast<std::uint16_t>(width),
                          static_cast<std::uint16_t>(height), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, seg, 0),
        &error);
    xcb_shm_detach(connection, seg);
    xcb_flush(connection);
    const bool ok = reply && !error;
    std::free(reply);
    std::free(error);
    if (!ok) return false;

    image.width = area.width();
    image.height = area.height();
    // One pass: no zero-filling of 8 MB first.
    const auto* pixels = static_cast<const std::uint32_t*>(segment.data());
    image.pixels.assign(pixels, pixels + width * height);
    return true;
}

}  // namespace durmivela::qt
