// The capture of the whole primary screen saved in the user's folder.
#pragma once

#include "platform/DurableFile.h"
#include "platform/Services.h"

#include <filesystem>

namespace durmivela {

inline constexpr const char* kArchivoCaptura = "Captura.bmp";

// The whole primary screen; an empty image when it cannot be read.
Image CapturarPantalla(Screen& pantalla);

// Captures the screen and replaces carpeta/Captura.bmp with it. When no
// capture can be made or saved, the one of an earlier shutdown is removed, so
// the file never shows an older screen as the last one.
WriteResult GuardarCaptura(Screen& pantalla, const std::filesystem::path& carpeta);

}  // namespace durmivela
