// The settings file's reader on any bytes: no fault, and the settings it
// produces come back unchanged through the writer and the reader.
#include "platform/Cp1252.h"
#include "settings/Configuracion.h"

#include <cstdio>
#include <cstdlib>

using namespace durmivela;

// The file keeps the name as Windows-1252 text on one line, after the "=".
static bool representable(const std::string& nombre) {
    return nombre.find_first_of("\r=") == std::string::npos && cp1252ToUtf8(utf8ToCp1252(nombre)) == nombre;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    Configuracion leida;
    leerTextoConfiguracion({reinterpret_cast<const char*>(data), size}, leida);
    if (!representable(leida.Lenguaje)) return 0;
    // Not from the defaults, so that a setting the writer dropped shows.
    Configuracion releida{0, 0, ""};
    leerTextoConfiguracion(textoConfiguracion(leida), releida);
    if (releida.Tipo != leida.Tipo || releida.Log != leida.Log || releida.Lenguaje != leida.Lenguaje) {
        std::fprintf(stderr, "round trip: %d,%d,\"%s\" came back as %d,%d,\"%s\"\n", leida.Tipo, leida.Log,
                     leida.Lenguaje.c_str(), releida.Tipo, releida.Log, releida.Lenguaje.c_str());
        std::abort();
    }
    return 0;
}
