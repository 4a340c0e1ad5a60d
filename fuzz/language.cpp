// The language file's loader on any bytes (cargarTextos reads them through
// leerRegistros), and the application of what loads to a real main window on
// the fake platform.
#include "lang/Lenguaje.h"
#include "platform/TextoCitado.h"
#include "scheduler/frmPrincipal.h"
#include "tests/fake/FakePlatform.h"

#include <cstdio>
#include <cstdlib>

using namespace durmivela;

static void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    // One window for the whole run, with the table it shows, as in the program.
    static testing::FakePlatform fake;
    static Configuracion configuracion;
    static TablaLenguaje tabla;
    static frmPrincipal ventana(fake.plataforma, configuracion, tabla);

    const std::size_t antes = tabla.Textos.size();
    const std::int16_t ultimoAntes = tabla.UltimoTexto;
    if (cargarTextos(tabla, {reinterpret_cast<const char*>(data), size}) != ResultadoCarga::Cargado) {
        check(tabla.Textos.size() == antes && tabla.UltimoTexto == ultimoAntes, "a failed load changed the table");
        return 0;
    }
    check(tabla.Textos.size() >= kTextosDeEjecucion, "a loaded table lacks the run-time texts");
    check(tabla.UltimoTexto == static_cast<int>(tabla.Textos.size()) - 1, "UltimoTexto is not the last record");
    for (const RegistroTexto& registro : tabla.Textos)
        check(registro.Texto.size() <= kTextoMaximo, "a text longer than a window system takes");
    AplicarLenguaje(ventana, tabla);
    return 0;
}
