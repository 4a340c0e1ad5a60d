#include "update/mdlActualizar.h"

#include "platform/DurableFile.h"
#include "settings/Configuracion.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace durmivela {
namespace {

const char* const kTitulo = "Actualizando";
const char* const kNoEncontrado = "-1";

// The size the server reported, when it reads as a decimal whole number.
std::optional<std::uintmax_t> LeerTamano(const std::string& texto) {
    std::uintmax_t tamano = 0;
    const char* fin = texto.data() + texto.size();
    const auto [resto, error] = std::from_chars(texto.data(), fin, tamano);
    if (texto.empty() || error != std::errc() || resto != fin) return std::nullopt;
    return tamano;
}

bool ActualizadorAlDia(const std::filesystem::path& ruta, std::optional<std::uintmax_t> tamano) {
    std::error_code error;
    return ExisteArchivo(ruta) && tamano && std::filesystem::file_size(ruta, error) == *tamano && !error;
}

// A slow step, run while the windows keep ticking: a schedule that falls due
// meanwhile shuts the machine down on time.
template <class Paso>
auto Aparte(const EntornoActualizacion& entorno, Paso paso) {
    decltype(paso()) resultado{};
    entorno.formas.runAside([&] { resultado = paso(); });
    return resultado;
}

// The program ended while a step ran: nothing more to say or start.
bool Terminado(const EntornoActualizacion& entorno) { return entorno.sigue && !entorno.sigue(); }

constexpr std::uint64_t kSinLimite = std::numeric_limits<std::uint64_t>::max();

// The process id read as a signed 32-bit number, with a blank in the sign's
// place when it is not negative.
std::string ConSigno(std::uint32_t pid) {
    const auto numero = static_cast<std::int32_t>(pid);
    return numero < 0 ? std::to_string(numero) : " " + std::to_string(numero);
}

}  // namespace

bool HayConexion(const EntornoActualizacion& entorno) {
    return Aparte(entorno, [&] { return entorno.http.probe(entorno.urlSonda); });
}

std::string DescargarURL(const EntornoActualizacion& entorno, const std::string& url) {
    HttpBody cuerpo = Aparte(entorno, [&] { return entorno.http.download(url, kSinLimite); });
    return cuerpo.ok ? std::move(cuerpo.bytes) : std::string();
}

std::string DescargarActualizador(const EntornoActualizacion& entorno, const std::string& url,
                                  std::optional<std::uintmax_t> tamano) {
    // A longer body stops as soon as it passes the promised size.
    const std::uint64_t limite = tamano ? static_cast<std::uint64_t>(*tamano) : kSinLimite;
    HttpBody cuerpo = Aparte(entorno, [&] { return entorno.http.download(url, limite); });
    const bool comoPrometido = tamano ? cuerpo.bytes.size() == *tamano : cuerpo.delimited;
    return cuerpo.ok && comoPrometido ? std::move(cuerpo.bytes) : std::string();
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
    const bool conexion = HayConexion(entorno);
    if (Terminado(entorno)) return;
    if (!conexion) {
        entorno.mensajes.show("No se puede encontrar una conexión a Internet válida.", kTitulo, MessageIcon::Information);
        return;
    }
    const std::string respuesta = DescargarURL(entorno, entorno.urlBase + "checksize.php?input=" + entorno.actualizador);
    if (Terminado(entorno)) return;
    // An empty reply means the update server did not answer while the probe did.
    if (respuesta.empty() || respuesta.substr(1) == kNoEncontrado) {
        entorno.mensajes.show("No se ha podido encontrar " + entorno.actualizador + " en el servidor", kTitulo,
                              MessageIcon::Information);
        return;
    }
    // From here on a failed step is skipped silently: only a missing updater
    // and a failed start are reported.
    const std::filesystem::path ruta = entorno.carpeta / entorno.actualizador;
    const std::optional<std::uintmax_t> tamano = LeerTamano(respuesta.substr(1));
    if (!ActualizadorAlDia(ruta, tamano)) {
        // Only the promised download replaces the updater, and atomically: a
        // refused one leaves an old updater whole to start, and no empty file.
        const std::string bytes = DescargarActualizador(entorno, entorno.urlBase + entorno.actualizador, tamano);
        if (Terminado(entorno)) return;
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
    Aparte(entorno, [&] { return entorno.procesos.waitForExit(inicio.pid); });
}

}  // namespace durmivela
