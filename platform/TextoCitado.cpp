#include "platform/TextoCitado.h"

namespace durmivela {

std::string citar(std::string_view texto, std::size_t maximo) {
    if (texto.size() <= maximo) return std::string(texto);
    constexpr std::string_view kCorte = "…";
    std::size_t corte = maximo > kCorte.size() ? maximo - kCorte.size() : 0;
    // Back off continuation bytes (10xxxxxx) so no character is split.
    while (corte > 0 && (static_cast<unsigned char>(texto[corte]) & 0xC0) == 0x80) --corte;
    return std::string(texto.substr(0, corte)).append(kCorte);
}

}  // namespace durmivela
