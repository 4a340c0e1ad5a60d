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
    // False when the key field did not read as a number: the record keeps its
    // place, so the run-time texts after it stay where they are, but no
    // control takes its text.
    bool tieneClave = true;
};

// The run-time texts are the last records of every language file.
inline constexpr int kTextosDeEjecucion = 17;

// A language file is a few kilobytes; a larger one is refused unread, as a
// damaged one, before it can take the program's time and memory.
inline constexpr std::uintmax_t kArchivoLenguajeMaximo = 1024 * 1024;

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
// lines create no record, nor does a key left without its text at the end of
// the file; a quoted text left open ends at its line's end. A text is cut to
// kTextoMaximo bytes of UTF-8, which every window system takes.
std::vector<RegistroTexto> leerRegistros(std::string_view bytes);

// Puts the records of a language file's bytes into the table. Bytes that
// cannot make a usable table leave the table as it was.
ResultadoCarga cargarTextos(TablaLenguaje& tabla, std::string_view bytes);

// Reads <nombre>.lng from the first of the language folders that holds it
// into the table. A file that cannot be used, one larger than
// kArchivoLenguajeMaximo included, leaves the table as it was.
ResultadoCarga CargarLenguaje(TablaLenguaje& tabla, const std::vector<std::filesystem::path>& carpetas,
                              const std::string& nombre);

// True for a name that can be a language file's base name and that the
// settings file can hold: not empty, every character in Windows-1252, no
// folder separator, control character, "=", "[" or "]", and short enough for
// a file name; on Windows also no drive or stream separator and no device name.
bool nombreLenguajeValido(std::string_view nombre);

// The first of the language folders that holds <nombre>.lng; the first
// folder when none does.
std::filesystem::path carpetaLenguaje(const std::vector<std::filesystem::path>& carpetas, const std::string& nombre);

// <nombre>.lng in a language folder.
std::filesystem::path rutaLenguaje(const std::filesystem::path& carpeta, const std::string& nombre);

// Gives every keyed control of the window its text from the table.
void AplicarLenguaje(Form& ventana, const TablaLenguaje& tabla);

// The text of the record with the key; for a record that the language file
// lacks (one added to the program after the file was written), the built-in
// Spanish text.
std::string textoConRespaldo(const TablaLenguaje& tabla, int clave);

// The Spanish language file compiled into the program.
std::string_view archivoLenguajeIntegrado();
TablaLenguaje lenguajeIntegrado();

}  // namespace durmivela
