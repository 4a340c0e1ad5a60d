#include "lang/Lenguaje.h"

#include "platform/Form.h"
#include "platform/NumberText.h"

#include <cmath>

namespace durmivela {
namespace {

// The tag read as a number as a whole (blanks around it and leading zeros
// allowed); not a number when it is not one.
double numeroIgual(const std::string& tag) {
    const LeadingNumber numero = readLeadingNumber(tag);
    return numero.found && numero.whole ? numero.value : std::nan("");
}

// The number at the start of the tag, rounded; below 1 means no key.
double numeroInicial(const std::string& tag) { return roundHalfEven(readLeadingNumber(tag).value); }

const RegistroTexto* registroPara(const TablaLenguaje& tabla, double clave) {
    if (!std::isfinite(clave) || clave != std::floor(clave) || clave < -32768 || clave > 32767) return nullptr;
    return tabla.buscar(static_cast<int>(clave));
}

}  // namespace

void AplicarLenguaje(Form& ventana, const TablaLenguaje& tabla) {
    for (const auto& control : ventana.controls()) {
        const std::string_view tipo = control->kindName();
        if (tipo == "Label" || tipo == "Menu") {
            if (const auto* registro = registroPara(tabla, numeroIgual(control->tag())))
                control->setCaption(registro->Texto);
        } else if (tipo == "PictureBox") {
            if (const auto* registro = registroPara(tabla, numeroIgual(control->tag())))
                control->setToolTipText(registro->Texto);
        } else {
            const double clave = numeroInicial(control->tag());
            if (clave < 1) continue;
            if (const auto* registro = registroPara(tabla, clave)) control->setCaption(registro->Texto);
        }
    }
}

}  // namespace durmivela
