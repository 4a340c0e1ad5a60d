// The language table: the records of a language file, its loader and the
// application of its texts to a window's controls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace durmivela {

class Form;

struct RegistroTexto {
    std::int16_t Clave = 0;
    std::string Texto;  // UTF-8
};

// The run-time texts are the last records of every language file.
inline constexpr int kTextosDeEjecucion = 17;

class TablaLenguaje {
public:
    std::vector<RegistroTexto> Textos;
    std::int16_t UltimoTexto = -1;

    bool vacia() const { return Textos.empty(); }
    // Language text L-n: the text of element UltimoTexto - n ("" when absent).
    const std::string& L(int n) const;
    // The first record with the key, at or below UltimoTexto; null when none.
    const RegistroTexto* buscar(int clave) const;
};

enum class ResultadoCarga {
    Cargado,
    NoLeido,     // missing or unreadable
    Incompleto,  // fewer records than the run-time texts need, or too many to index
};

// The records of a language file's bytes (Windows-1252), in file order. Blank
// lines create no record; a record cut short or with a key outside the signed
// 16-bit range is skipped.
std::vector<RegistroTexto> leerRegistros(std::string_view bytes);

// Puts the records of a language file's bytes into the table. Bytes that
// cannot make a usable table leave the table as it was.
ResultadoCarga cargarTextos(TablaLenguaje& tabla, std::string_view bytes);

// Reads carpeta/Leng/<nombre>.lng into the table. A file that cannot be used
// leaves the table as it was.
ResultadoCarga CargarLenguaje(TablaLenguaje& tabla, const std::filesystem::path& carpeta,
                              const std::string& nombre);

std::filesystem::path rutaLenguaje(const std::filesystem::path& carpeta, const std::string& nombre);

// Gives every keyed control of the window its text from the table.
void AplicarLenguaje(Form& ventana, const TablaLenguaje& tabla);

// The Spanish language file compiled into the program.
std::string_view archivoLenguajeIntegrado();
TablaLenguaje lenguajeIntegrado();

}  // namespace durmivela
