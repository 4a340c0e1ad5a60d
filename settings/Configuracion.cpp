#include "settings/Configuracion.h"

#include "platform/Cp1252.h"
#include "platform/NumberText.h"

#include <optional>
#include <system_error>

namespace durmivela {
namespace {

// Splits the file into lines: CR LF or a CR alone ends a line, a LF alone does not.
class Lineas {
public:
    explicit Lineas(std::string_view bytes) : bytes_(bytes) {}
    std::optional<std::string_view> siguiente() {
        if (pos_ >= bytes_.size()) return std::nullopt;
        const std::size_t cr = bytes_.find('\r', pos_);
        const std::size_t end = cr == std::string_view::npos ? bytes_.size() : cr;
        std::string_view line = bytes_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < bytes_.size()) ++pos_;  // the CR
        if (cr != std::string_view::npos && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
        return line;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// The value of a key line whose name is `nombre`, up to a second "=".
std::optional<std::string_view> valorDe(std::string_view linea, std::string_view nombre) {
    const std::size_t igual = linea.find('=');
    if (igual == std::string_view::npos || linea.substr(0, igual) != nombre) return std::nullopt;
    std::string_view valor = linea.substr(igual + 1);
    return valor.substr(0, valor.find('='));
}

// A setting's number when it lies from `menor` to `mayor` (both within 0..255).
std::optional<std::uint8_t> leerNumero(std::string_view valor, int menor, int mayor) {
    const double redondeado = roundHalfEven(readLeadingNumber(valor).value);
    if (!(redondeado >= menor && redondeado <= mayor)) return std::nullopt;  // NaN fails too
    return static_cast<std::uint8_t>(redondeado);
}

}  // namespace

bool BuscarArchivo(const std::filesystem::path& ruta, const FileAttributes& atributos) {
    std::error_code error;
    return std::filesystem::is_regular_file(ruta, error) && !atributos.hiddenOrSystem(ruta);
}


bool ExisteArchivo(const std::filesystem::path& ruta) {
    std::error_code error;
    (void)std::filesystem::file_size(ruta, error);
    return !error;
}

void leerTextoConfiguracion(std::string_view bytes, Configuracion& configuracion) {
    Lineas lineas(bytes);
    struct Seccion {
        std::string_view cabecera;
        std::string_view nombre;
    };
    constexpr Seccion secciones[] = {{"[TIPO]", "Tipo"}, {"[LOG]", "Log"}, {"[LENGUAJE]", "Lenguaje"}};
    for (std::size_t i = 0; i < std::size(secciones); ++i) {
        const auto cabecera = lineas.siguiente();
        if (!cabecera) return;  // the file ended early
        if (*cabecera != secciones[i].cabecera) continue;
        const auto clave = lineas.siguiente();
        if (!clave) return;
        const auto valor = valorDe(*clave, secciones[i].nombre);
        if (!valor) continue;
        if (i == 0) {
            if (const auto tipo = leerNumero(*valor, 1, 2)) configuracion.Tipo = *tipo;
        } else if (i == 1) {
            if (const auto log = leerNumero(*valor, 1, 4)) configuracion.Log = *log;
        } else if (!valor->empty()) {
            configuracion.Lenguaje = cp1252ToUtf8(*valor);
        }
    }
}

std::string textoConfiguracion(const Configuracion& configuracion) {
    return "[TIPO]\r\nTipo=" + std::to_string(configuracion.Tipo) + "\r\n[LOG]\r\nLog=" +
           std::to_string(configuracion.Log) + "\r\n[LENGUAJE]\r\nLenguaje=" +
           utf8ToCp1252(configuracion.Lenguaje) + "\r\n";
}

WriteResult GuardarConfiguracion(const Configuracion& configuracion, const std::filesystem::path& carpeta) {
    return writeFileDurably(carpeta / kArchivoConfiguracion, textoConfiguracion(configuracion));
}

WriteResult LeerConfiguracion(Configuracion& configuracion, const std::filesystem::path& carpeta,
                              const FileAttributes& atributos) {
    const std::filesystem::path ruta = carpeta / kArchivoConfiguracion;
    if (!BuscarArchivo(ruta, atributos)) {
        configuracion = Configuracion{};
        return GuardarConfiguracion(configuracion, carpeta);
    }
    std::string bytes;
    if (readWholeFile(ruta, bytes)) leerTextoConfiguracion(bytes, configuracion);
    return {};
}

}  // namespace durmivela
