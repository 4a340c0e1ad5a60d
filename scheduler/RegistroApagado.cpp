#include "scheduler/RegistroApagado.h"

#include "platform/Cp1252.h"

namespace durmivela {

std::string textoRegistro(const TablaLenguaje& lenguaje, int tipo, int log, const TimeOfDay& hora) {
    std::string texto;
    auto linea = [&](const std::string& utf8) { texto += utf8ToCp1252(utf8) + "\r\n"; };
    linea(lenguaje.L(7));
    linea("");
    linea(lenguaje.L(6) + " " + std::to_string(hora.hour) + ":" + std::to_string(hora.minute) + ":" +
          std::to_string(hora.second));
    linea("");
    linea(lenguaje.L(5));
    if (tipo == 1) linea(lenguaje.L(4));
    if (tipo == 2) linea(lenguaje.L(3));
    if (log == 2) linea(lenguaje.L(2));
    if (log == 3) linea(lenguaje.L(1));
    if (log == 4) linea(lenguaje.L(0));
    return texto;
}

}  // namespace durmivela
