// Network addresses chosen at build time: the CMake cache variables
// DURMIVELA_UPDATE_URL, DURMIVELA_PROBE_URL and DURMIVELA_WEB_URL.
#pragma once

namespace durmivela {

extern const char kUrlActualizacion[];  // the update server's base, ending in /Descargas/Actualizar/
extern const char kUrlSonda[];          // an always reachable address on another server
extern const char kUrlWeb[];            // the maker's web site

}  // namespace durmivela
