#include "scheduler/TextoHora.h"

#include "platform/NumberText.h"

namespace durmivela {

std::string textoDuracion(std::int64_t segundos) {
    const std::int64_t total = segundos < 0 ? -segundos : segundos;
    return std::to_string(total / 3600) + ":" + twoDigits(static_cast<int>(total / 60 % 60)) + ":" +
           twoDigits(static_cast<int>(total % 60));
}

std::string textoHoraFija(const TimeOfDay& hora) {
    return twoDigits(hora.hour) + ":" + twoDigits(hora.minute) + ":" + twoDigits(hora.second);
}

TimeOfDay sumarSegundos(const TimeOfDay& hora, std::int64_t segundos) {
    constexpr std::int64_t kDia = 24 * 3600;
    std::int64_t total = (hora.hour * 3600 + hora.minute * 60 + hora.second + segundos) % kDia;
    if (total < 0) total += kDia;
    return {static_cast<int>(total / 3600), static_cast<int>(total / 60 % 60), static_cast<int>(total % 60)};
}

bool campoCoincide(const std::string& campo, int valor) {
    std::size_t inicio = campo.find_first_not_of(" \t");
    if (inicio == std::string::npos) return false;
    const std::size_t fin = campo.find_last_not_of(" \t") + 1;
    long numero = 0;
    for (std::size_t i = inicio; i < fin; ++i) {
        if (campo[i] < '0' || campo[i] > '9') return false;
        numero = numero * 10 + (campo[i] - '0');
        if (numero > 1000) return false;  // no hour or minute is that large
    }
    return numero == valor;
}

}  // namespace durmivela
