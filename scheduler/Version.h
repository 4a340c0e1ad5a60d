// The program's name and version, as the title shows them.
#pragma once

#include <string>

namespace durmivela {

inline constexpr const char* kTituloPrograma = "Durmivela";
inline constexpr int kVersionMayor = 3;
inline constexpr int kVersionMenor = 0;
inline constexpr int kVersionRevision = 16;

// "3.0.16".
inline std::string textoVersion() {
    return std::to_string(kVersionMayor) + "." + std::to_string(kVersionMenor) + "." +
           std::to_string(kVersionRevision);
}

// "Durmivela 3.0.16": the title of the idle main window.
inline std::string tituloEstandar() { return std::string(kTituloPrograma) + " " + textoVersion(); }

}  // namespace durmivela
