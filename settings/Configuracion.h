// The three settings and the settings file that keeps them in the user's folder.
#pragma once

#include "platform/DurableFile.h"
#include "platform/Services.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace durmivela {

inline constexpr const char* kArchivoConfiguracion = "Durmivela.ini";

// Starts from the defaults, so whatever the file lacks or holds out of range
// keeps a value the program can work with.
struct Configuracion {
    std::uint8_t Tipo = 1;                 // 1 clock time, 2 delay
    std::uint8_t Log = 4;                  // 1 nothing, 2 log record, 3 capture, 4 both
    std::string Lenguaje = "Español";  // base name of the language file (UTF-8)
};

// True when a listing of ordinary files (no directories, no hidden or system
// files) finds the path.
bool BuscarArchivo(const std::filesystem::path& ruta, const FileAttributes& atributos);

// True when the length of the file can be read: zero-byte and hidden files count.
bool ExisteArchivo(const std::filesystem::path& ruta);

// Reads the settings file in `carpeta`; when it is missing, writes the defaults
// and takes them. The result reports a failed write of the default file.
WriteResult LeerConfiguracion(Configuracion& configuracion, const std::filesystem::path& carpeta,
                              const FileAttributes& atributos);

// Rewrites the settings file from the in-memory settings.
WriteResult GuardarConfiguracion(const Configuracion& configuracion, const std::filesystem::path& carpeta);

// The file's six lines, Windows-1252, CR LF.
std::string textoConfiguracion(const Configuracion& configuracion);

// Applies the file's bytes to the settings; what is not found, cannot be read
// or is out of range keeps its value.
void leerTextoConfiguracion(std::string_view bytes, Configuracion& configuracion);

}  // namespace durmivela
