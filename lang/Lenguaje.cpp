#include "lang/Lenguaje.h"

#include "platform/Cp1252.h"
#include "platform/DurableFile.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace durmivela {
namespace {

bool esBlanco(char c) { return c == ' ' || c == '\t'; }
bool esFinDeLinea(char c) { return c == '\r' || c == '\n'; }

// Reads fields separated by a comma or a line end.
class Lector {
public:
    explicit Lector(std::string_view bytes) : bytes_(bytes) {}

    // Moves past blank lines; true when a record can start here.
    bool hayRegistro() {
        while (pos_ < bytes_.size()) {
            std::size_t p = pos_;
            while (p < bytes_.size() && esBlanco(bytes_[p])) ++p;
            if (p < bytes_.size() && !esFinDeLinea(bytes_[p])) return true;
            pos_ = p;
            saltarFinDeLinea();
        }
        return false;
    }

    // One field; false at the end of the file. `finDeLinea` tells whether a
    // line end (or the end of the file) closed it.
    bool campo(std::string& texto, bool& finDeLinea) {
        if (pos_ >= bytes_.size()) return false;
        while (pos_ < bytes_.size() && esBlanco(bytes_[pos_])) ++pos_;
        texto.clear();
        if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
            ++pos_;
            const std::size_t cierre = bytes_.find_first_of("\"\r\n", pos_);
            const std::size_t fin = cierre == std::string_view::npos ? bytes_.size() : cierre;
            texto.assign(bytes_.substr(pos_, fin - pos_));
            pos_ = fin;
            if (pos_ < bytes_.size() && bytes_[pos_] == '"') ++pos_;
            // Whatever follows the closing mark up to the separator is dropped.
            while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !esFinDeLinea(bytes_[pos_])) ++pos_;
        } else {
            const std::size_t fin = std::min(bytes_.find_first_of(",\r\n", pos_), bytes_.size());
            std::string_view crudo = bytes_.substr(pos_, fin - pos_);
            while (!crudo.empty() && esBlanco(crudo.back())) crudo.remove_suffix(1);
            texto.assign(crudo);
            pos_ = fin;
        }
        finDeLinea = pos_ >= bytes_.size() || esFinDeLinea(bytes_[pos_]);
        if (pos_ < bytes_.size() && bytes_[pos_] == ',') ++pos_;
        else saltarFinDeLinea();
        return true;
    }

private:
    void saltarFinDeLinea() {
        if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

bool leerClave(const std::string& texto, std::int16_t& clave) {
    std::string_view digitos = texto;
    if (!digitos.empty() && digitos.front() == '+') digitos.remove_prefix(1);
    int valor = 0;
    const auto [fin, error] = std::from_chars(digitos.data(), digitos.data() + digitos.size(), valor);
    if (error != std::errc() || fin != digitos.data() + digitos.size() || digitos.empty()) return false;
    if (valor < std::numeric_limits<std::int16_t>::min() || valor > std::numeric_limits<std::int16_t>::max())
        return false;
    clave = static_cast<std::int16_t>(valor);
    return true;
}

const std::string kVacio;

}  // namespace

const std::string& TablaLenguaje::L(int n) const {
    const int indice = UltimoTexto - n;
    if (indice < 0 || indice >= static_cast<int>(Textos.size())) return kVacio;
    return Textos[static_cast<std::size_t>(indice)].Texto;
}

const RegistroTexto* TablaLenguaje::buscar(int clave) const {
    for (std::size_t i = 0; i < Textos.size(); ++i) {
        if (!Textos[i].tieneClave || Textos[i].Clave != clave) continue;
        return static_cast<int>(i) <= UltimoTexto ? &Textos[i] : nullptr;
    }
    return nullptr;
}

std::vector<RegistroTexto> leerRegistros(std::string_view bytes) {
    std::vector<RegistroTexto> registros;
    Lector lector(bytes);
    std::string clave;
    std::string texto;
    bool finDeLinea = false;
    while (lector.hayRegistro()) {
        if (!lector.campo(clave, finDeLinea)) break;
        if (!lector.campo(texto, finDeLinea)) break;  // cut short at the end of the file
        RegistroTexto registro;
        registro.tieneClave = leerClave(clave, registro.Clave);
        registro.Texto = cp1252ToUtf8(texto);
        registros.push_back(std::move(registro));
    }
    return registros;
}

#ifdef _WIN32
namespace {

// CON, NUL, COM1 and the like name devices on Windows whatever extension
// follows them ("NUL.lng" is NUL), so such a name would read a device.
bool dispositivoDeWindows(std::string_view nombre) {
    std::string base(nombre.substr(0, nombre.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    if (!base.starts_with("COM") && !base.starts_with("LPT")) return false;
    const std::string_view numero = std::string_view(base).substr(3);
    return (numero.size() == 1 && numero[0] >= '1' && numero[0] <= '9') || numero == "\xC2\xB9" ||
           numero == "\xC2\xB2" || numero == "\xC2\xB3";
}

}  // namespace
#endif

bool nombreLenguajeValido(std::string_view nombre) {
    // 255 bytes is the longest file name the usual file systems take.
    constexpr std::size_t kNombreMaximo = 255 - std::string_view(".lng").size();
    if (nombre.empty() || nombre.size() > kNombreMaximo) return false;
    for (const char c : nombre) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') return false;
    }
#ifdef _WIN32
    // A drive ("C:x") or stream ("x:y") would lead out of Leng.
    if (nombre.find(':') != std::string_view::npos || dispositivoDeWindows(nombre)) return false;
#endif
    return true;
}

std::filesystem::path rutaLenguaje(const std::filesystem::path& carpeta, const std::string& nombre) {
    return carpeta / pathFromUtf8(nombre + ".lng");
}

std::filesystem::path carpetaLenguaje(const std::vector<std::filesystem::path>& carpetas, const std::string& nombre) {
    if (carpetas.empty()) return {};
    // A refused name must not reach the file system, not even to be looked for.
    if (nombreLenguajeValido(nombre))
        for (const std::filesystem::path& carpeta : carpetas) {
            std::error_code error;
            if (std::filesystem::is_regular_file(rutaLenguaje(carpeta, nombre), error)) return carpeta;
        }
    return carpetas.front();
}

ResultadoCarga CargarLenguaje(TablaLenguaje& tabla, const std::vector<std::filesystem::path>& carpetas,
                              const std::string& nombre) {
    std::string bytes;
    if (!nombreLenguajeValido(nombre) ||
        !readWholeFile(rutaLenguaje(carpetaLenguaje(carpetas, nombre), nombre), bytes))
        return ResultadoCarga::NoLeido;
    return cargarTextos(tabla, bytes);
}

ResultadoCarga cargarTextos(TablaLenguaje& tabla, std::string_view bytes) {
    std::vector<RegistroTexto> registros = leerRegistros(bytes);
    if (registros.size() < static_cast<std::size_t>(kTextosDeEjecucion) ||
        registros.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        return ResultadoCarga::Incompleto;
    tabla.Textos = std::move(registros);
    tabla.UltimoTexto = static_cast<std::int16_t>(tabla.Textos.size() - 1);
    return ResultadoCarga::Cargado;
}

std::string textoConRespaldo(const TablaLenguaje& tabla, int clave) {
    if (const RegistroTexto* registro = tabla.buscar(clave)) return registro->Texto;
    // Kept in a variable: the record found must not outlive its table.
    const TablaLenguaje integrado = lenguajeIntegrado();
    const RegistroTexto* registro = integrado.buscar(clave);
    return registro ? registro->Texto : std::string();
}

TablaLenguaje lenguajeIntegrado() {
    TablaLenguaje tabla;
    tabla.Textos = leerRegistros(archivoLenguajeIntegrado());
    tabla.UltimoTexto = static_cast<std::int16_t>(tabla.Textos.size() - 1);
    return tabla;
}

}  // namespace durmivela
