// Clock times and durations as the main window writes them.
#pragma once

#include "platform/Services.h"

#include <cstdint>
#include <string>

namespace durmivela {

// A remaining time, always H:mm:ss by its magnitude (minus one second shows as
// 0:00:01), whatever the clock's format: it must never read like a clock time.
std::string textoDuracion(std::int64_t segundos);

// A clock time written with the mask "00" per field: 07:05:09.
std::string textoHoraFija(const TimeOfDay& hora);

// The time of day `segundos` later, modulo 24 hours.
TimeOfDay sumarSegundos(const TimeOfDay& hora, std::int64_t segundos);

// True when the field's whole text, blanks around it ignored, is a decimal
// number equal to `valor` (so 7, 07 and " 7" match seven).
bool campoCoincide(const std::string& campo, int valor);

}  // namespace durmivela
