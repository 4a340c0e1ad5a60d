// The online update: makes sure a current copy of the separate updater lies in
// the user's folder, starts it and waits until it has ended. What the updater
// then does is its own business.
#pragma once

#include "platform/Services.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace durmivela {

// What the update needs of the running program and its platform.
struct EntornoActualizacion {
    Http& http;
    Processes& procesos;
    MessageBoxes& mensajes;
    FormHost& formas;               // runs the network and the wait aside, the schedule ticking on
    std::filesystem::path carpeta;  // the user's folder, where the updater lies
    std::uint32_t pid;              // the running program's process id
    std::string actualizador;       // "Update.exe" on Windows, "Update" on Linux
    std::string ejecutable;         // the program's file: "Durmivela.exe", "durmivela"
    std::string urlBase;            // ends in /Descargas/Actualizar/
    std::string urlSonda;           // an always reachable site, not the update server
    // False once the program is ending (its window closed meanwhile): the
    // update then stops without a word. Unset: it always goes on.
    std::function<bool()> sigue = {};
};

inline constexpr const char* kIniActualizacion = "Act_Durmivela.ini";

// True when the probe address answered.
bool HayConexion(const EntornoActualizacion& entorno);

// The whole body at the address; empty on any failure, which the caller
// cannot tell from an empty body.
std::string DescargarURL(const EntornoActualizacion& entorno, const std::string& url);

// The updater as the server promised it: exactly `tamano` bytes when the
// size reply was a number, otherwise a body whose end the transfer itself
// marked (one cut off by a closed connection looks whole). Empty otherwise.
std::string DescargarActualizador(const EntornoActualizacion& entorno, const std::string& url,
                                  std::optional<std::uintmax_t> tamano);

// The updater's start: its explicit path, the arguments for systems that start
// programs without a shell, and the Windows command line, whose path is quoted
// so that blanks in the folder cannot start another program.
ProcessStart LineaActualizador(const EntornoActualizacion& entorno, const std::string& archivoIni);

// The whole update; everything it reports, it reports in message boxes.
void ActualizarPrograma(const EntornoActualizacion& entorno, const std::string& archivoIni);

}  // namespace durmivela
