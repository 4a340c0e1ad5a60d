// The main menu's small commands: the help file, the log, the capture, the
// maker's web site and the About dialog.
#pragma once

#include "lang/Lenguaje.h"
#include "platform/Services.h"

namespace durmivela {

inline constexpr const char* kArchivoAyuda = "Durmivela.chm";

// Asks the desktop to open a file; a missing file is the desktop's to report.
void AbrirArchivo(Plataforma& plataforma, const std::filesystem::path& archivo);

void AbrirWebDelAutor(Plataforma& plataforma);

// A fresh About dialog, loaded and shown modally.
void MostrarAcercaDe(Plataforma& plataforma, const TablaLenguaje& lenguaje);

}  // namespace durmivela
