// The main menu's small commands: the help file, the log, the capture, the
// maker's web site and the About dialog.
#pragma once

#include "lang/Lenguaje.h"
#include "platform/Services.h"

#include <filesystem>
#include <string>

namespace durmivela {

inline constexpr const char* kArchivoAyuda = "Durmivela.chm";
// The same help as plain HTML pages, beside the CHM, for desktops where
// nothing opens a CHM but every one has a browser.
inline constexpr const char* kCarpetaAyudaHtml = "html";

// Asks the desktop to open a file; a missing file is the desktop's to report.
void AbrirArchivo(Plataforma& plataforma, const std::filesystem::path& archivo);

// The first HTML page of the help in the data folder: the Spanish pages for
// the Spanish language, the English ones for every other.
std::filesystem::path PaginaAyudaHtml(const std::filesystem::path& datos, const std::string& lenguaje);

// Opens the help from the data folder: the CHM where the desktop has a
// viewer for it, otherwise the HTML pages in the browser; when neither can
// be shown, says so instead of leaving the click without an answer.
void AbrirAyuda(Plataforma& plataforma, const std::string& lenguaje);

void AbrirWebDelAutor(Plataforma& plataforma);

// A fresh About dialog, loaded and shown modally.
void MostrarAcercaDe(Plataforma& plataforma, const TablaLenguaje& lenguaje);

}  // namespace durmivela
