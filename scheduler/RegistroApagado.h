// The record of a shutdown left in the log file in the user's folder.
#pragma once

#include "lang/Lenguaje.h"
#include "platform/Services.h"

#include <string>

namespace durmivela {

inline constexpr const char* kArchivoLog = "Durmivelar_Log.log";

// The record's lines, in the current language, as Windows-1252 with CR LF.
std::string textoRegistro(const TablaLenguaje& lenguaje, int tipo, int log, const TimeOfDay& hora);

}  // namespace durmivela
