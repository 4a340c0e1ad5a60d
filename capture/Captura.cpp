#include "capture/Captura.h"

#include "capture/Bitmap.h"

namespace durmivela {

Image CapturarPantalla(Screen& pantalla) {
    Image imagen;
    if (!pantalla.capturePrimary(imagen)) return {};
    return imagen;
}

WriteResult GuardarCaptura(Screen& pantalla, const std::filesystem::path& carpeta) {
    const Image imagen = CapturarPantalla(pantalla);
    if (imagen.width <= 0 || imagen.height <= 0) return {false, "the screen could not be read"};
    return writeFileDurably(carpeta / kArchivoCaptura, bitmapBytes(imagen));
}

}  // namespace durmivela
