#include "update/mdlActualizar.h"

#include "platform/DurableFile.h"
#include "settings/Configuracion.h"

#include <charconv>
#include <system_error>

namespace durmivela {
namespace {

const char* const kTitulo = "Actualizando";
const char* const kNoEncontrado = "-1";

// The size the server reported, when it reads as a decimal whole number.
bool LeerTamano(const std::string& texto, std::uintmax_t& tamano) {
    const char* fin = texto.data() + texto.size();
    const auto [resto, error] = std::from_chars(texto.data(), fin, tamano);
    return !texto.empty() && error == std::errc() && resto == fin;
}

bool ActualizadorAlDia(const std::filesystem::path& ruta, const std::string& tamanoInformado) {
    std::uintmax_t tamano = 0;
    std::error_code error;
    return ExisteArchivo(ruta) && LeerTamano(tamanoInformado, tamano) &&
           std::filesystem::file_size(ruta, error) == tamano && !error;
}

// The process id read as a signed 32-bit number, with a blank in the sign's
// place when it is not negative.
std::string ConSigno(std::uint32_t pid) {
    const auto numero = static_cast<std::int32_t>(pid);
    return numero < 0 ? std::to_string(numero) : " " + std::to_string(numero);
}

}  // namespace

bool HayConexion(const EntornoActualizacion& entorno) { return entorno.http.probe(entorno.urlSonda); }

std::string DescargarURL(const EntornoActualizacion& entorno, const std::string& url) {
    return entorno.http.download(url);
}

ProcessStart LineaActualizador(const EntornoActualizacion& entorno, const std::string& archivoIni) {
    ProcessStart inicio;
    inicio.program = entorno.carpeta / entorno.actualizador;
    inicio.arguments = {archivoIni, std::to_string(entorno.pid), entorno.ejecutable};
    inicio.commandLine =
        "\"" + utf8FromPath(inicio.program) + "\" " + archivoIni + ConSigno(entorno.pid) + " " + entorno.ejecutable;
    return inicio;
}

void ActualizarPrograma(const EntornoActualizacion& entorno, const std::string& archivoIni) {
    if (!HayConexion(entorno)) {
        entorno.mensajes.show("No se puede encontrar una conexión a Internet válida.", kTitulo, MessageIcon::Information);
        return;
    }
    const std::string respuesta = DescargarURL(entorno, entorno.urlBase + "checksize.php?input=" + entorno.actualizador);
    // An empty reply means the update server did not answer while the probe did.
    if (respuesta.empty() || respuesta.substr(1) == kNoEncontrado) {
        entorno.mensajes.show("No se ha podido encontrar " + entorno.actualizador + " en el servidor", kTitulo,
                              MessageIcon::Information);
        return;
    }
    // From here on a failed step is skipped silently: only a missing updater
    // and a failed start are reported.
    const std::filesystem::path ruta = entorno.carpeta / entorno.actualizador;
    if (!ActualizadorAlDia(ruta, respuesta.substr(1))) {
        // Only a complete download replaces the updater, and atomically: a
        // failed one leaves an old updater to start, and no empty file.
        const std::string bytes = DescargarURL(entorno, entorno.urlBase + entorno.actualizador);
        if (!bytes.empty() && writeFileDurably(ruta, bytes).ok) entorno.procesos.makeExecutable(ruta);
    }
    if (!ExisteArchivo(ruta)) {
        entorno.mensajes.show("Error descargando el programa de actualización " + entorno.actualizador, kTitulo,
                              MessageIcon::Information);
        return;
    }
    const StartResult inicio = entorno.procesos.start(LineaActualizador(entorno, archivoIni));
    if (inicio.pid == 0) {
        entorno.mensajes.show(inicio.error, "Error calling " + utf8FromPath(ruta), MessageIcon::None);
        return;
    }
    // No time limit: the updater may replace this program's files meanwhile.
    entorno.procesos.waitForExit(inicio.pid);
}

}  // namespace durmivela
