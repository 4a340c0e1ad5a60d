#include "platform/win32/Win32Screen.h"

#include <windows.h>

#include <vector>

namespace durmivela::win32 {
namespace {

// The system palette as a logical palette, for a 256-colour screen.
HPALETTE systemPalette(HDC screen) {
    constexpr int kColours = 256;
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + (kColours - 1) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = kColours;
    if (GetSystemPaletteEntries(screen, 0, kColours, palette->palPalEntry) == 0) return nullptr;
    return CreatePalette(palette);
}

}  // namespace

bool Win32Screen::capturePrimary(Image& image) {
    const HWND desktop = GetDesktopWindow();
    const HDC screen = GetWindowDC(desktop);
    if (!screen) return false;
    const int width = GetDeviceCaps(screen, HORZRES);
    const int height = GetDeviceCaps(screen, VERTRES);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = width > 0 && height > 0 && memory ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (!bitmap) {
        if (memory) DeleteDC(memory);
        ReleaseDC(desktop, screen);
        return false;
    }
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HPALETTE palette = nullptr, oldPalette = nullptr;
    if ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) && GetDeviceCaps(screen, SIZEPALETTE) == 256) {
        palette = systemPalette(screen);
        if (palette) {
            oldPalette = SelectPalette(memory, palette, FALSE);
            RealizePalette(memory);
        }
    }
    bool ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
    SelectObject(memory, oldBitmap);

    // Read through the memory DC while its palette is still selected: the
    // palette is what turns a 256-colour bitmap's indices into colours.
    std::vector<std::uint32_t> pixels;
    if (ok) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows, as Image keeps them
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        ok = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) == height;
    }
    if (palette) SelectPalette(memory, oldPalette, FALSE);
    DeleteDC(memory);
    ReleaseDC(desktop, screen);
    if (palette) DeleteObject(palette);
    DeleteObject(bitmap);
    if (!ok) return false;
    image.width = width;
    image.height = height;
    image.pixels = std::move(pixels);
    return true;
}

}  // namespace durmivela::win32
