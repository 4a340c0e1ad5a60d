#include "tray/IconoBandeja.h"

#include "platform/NumberText.h"
#include "scheduler/TextoHora.h"

#include <utility>

namespace durmivela {

std::string recortarTexto(const std::string& texto, std::size_t caracteres) {
    std::size_t contados = 0;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if ((static_cast<unsigned char>(texto[i]) & 0xC0) == 0x80) continue;  // continuation byte
        if (contados++ == caracteres) return texto.substr(0, i);
    }
    return texto;
}

std::string textoIconoBandeja(int tipo, const std::string& hora, const std::string& minuto,
                              std::int64_t cronometro, const std::string& horaActual) {
    const std::string texto = tipo == 1 ? "Apagar a las " + maskZeroHash(hora) + ":" + maskZeroHash(minuto)
                                        : "Apagar tras " + textoDuracion(cronometro) + " desde las " + horaActual;
    return recortarTexto(texto, kLargoMaximoTooltip);
}

IconoBandeja::~IconoBandeja() {
    if (const Escucha* escucha = area_.availabilityChanged.target<Escucha>(); escucha && escucha->icono == this)
        area_.availabilityChanged = nullptr;
}

void IconoBandeja::alCambiarDisponibilidad(std::function<void(bool)> aviso) {
    aviso_ = std::move(aviso);
    area_.availabilityChanged = Escucha{this};
}

bool IconoBandeja::mostrar(const std::string& tooltip) {
    mostrado_ = area_.add(tooltip);
    return mostrado_;
}

void IconoBandeja::quitar() {
    if (!mostrado_) return;
    area_.remove();
    mostrado_ = false;
}

}  // namespace durmivela
