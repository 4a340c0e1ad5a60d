#include "capture/Captura.h"

#include "capture/Bitmap.h"

#include <system_error>

namespace durmivela {

Image CapturarPantalla(Screen& pantalla) {
    Image imagen;
    if (!pantalla.capturePrimary(imagen)) return {};
    return imagen;
}

// Removed rather than renamed: a successful capture replaces the earlier one
// anyway, and the menu's "Ver la captura" opens only Captura.bmp, so a kept
// copy under another name would be a file nothing shows.
WriteResult GuardarCaptura(Screen& pantalla, const std::filesystem::path& carpeta) {
    const std::filesystem::path archivo = carpeta / kArchivoCaptura;
    const Image imagen = CapturarPantalla(pantalla);
    WriteResult escrito = imagen.width > 0 && imagen.height > 0
                              ? writeFileDurably(archivo, bitmapBytes(imagen))
                              : WriteResult{false, "the screen could not be read"};
    if (!escrito.ok) {
        std::error_code error;
        std::filesystem::remove(archivo, error);
        if (error) escrito.reason += "; the earlier capture could not be removed: " + error.message();
    }
    return escrito;
}

}  // namespace durmivela
