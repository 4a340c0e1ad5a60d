// Only this file sees the addresses' definitions, so changing one rebuilds it alone.
#include "update/Direcciones.h"

#if !defined(DURMIVELA_UPDATE_URL) || !defined(DURMIVELA_PROBE_URL) || !defined(DURMIVELA_WEB_URL)
#error "DURMIVELA_UPDATE_URL, DURMIVELA_PROBE_URL and DURMIVELA_WEB_URL come from the CMake cache"
#endif

namespace durmivela {

const char kUrlActualizacion[] = DURMIVELA_UPDATE_URL;
const char kUrlSonda[] = DURMIVELA_PROBE_URL;
const char kUrlWeb[] = DURMIVELA_WEB_URL;

}  // namespace durmivela
