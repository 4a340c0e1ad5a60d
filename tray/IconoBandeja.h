// The notification-area icon that stands for the hidden main window.
#pragma once

#include "platform/Services.h"

#include <cstdint>
#include <functional>
#include <string>

namespace durmivela {

// The notification area holds at most 63 characters of tooltip.
inline constexpr std::size_t kLargoMaximoTooltip = 63;

// The tooltip's fixed Spanish words, whatever the interface language:
// "Apagar a las 07:05" or "Apagar tras 0:30:00 desde las 21:15:03".
std::string textoIconoBandeja(int tipo, const std::string& hora, const std::string& minuto,
                              std::int64_t cronometro, const std::string& horaActual);

// Cuts UTF-8 text to at most `caracteres` characters.
std::string recortarTexto(const std::string& texto, std::size_t caracteres);

// The one icon record of the program: added when the window goes to the tray,
// removed when it comes back or the program ends.
class IconoBandeja {
public:
    explicit IconoBandeja(NotificationArea& area) : area_(area) {}
    ~IconoBandeja();
    IconoBandeja(const IconoBandeja&) = delete;
    IconoBandeja& operator=(const IconoBandeja&) = delete;
    // Who hears that a notification area appeared or went away, for as long
    // as this record lives.
    void alCambiarDisponibilidad(std::function<void(bool)> aviso);
    bool disponible() const { return area_.available(); }
    bool mostrado() const { return mostrado_; }
    // False when the icon could not be shown: the window must stay reachable.
    bool mostrar(const std::string& tooltip);
    void quitar();

private:
    // The area's listener while it is this record's, told apart from a later one's.
    struct Escucha {
        IconoBandeja* icono;
        void operator()(bool disponible) const { icono->aviso_(disponible); }
    };

    NotificationArea& area_;
    std::function<void(bool)> aviso_;
    bool mostrado_ = false;
};

}  // namespace durmivela
