#include "platform/TextoCitado.h"

namespace durmivela {

std::string citar(std::string_view texto, std::size_t maximo) {
    if (texto.size() <= maximo) return std::string(texto);
    std::size_t corte = maximo;
    // Back off continuation bytes (10xxxxxx) so no character is split.
    while (corte > 0 && (static_cast<unsigned char>(texto[corte]) & 0xC0) == 0x80) --corte;
    return std::string(texto.substr(0, corte)) + "…";
}

}  // namespace durmivela
