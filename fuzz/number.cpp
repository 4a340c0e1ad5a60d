// Number reading on any text, against an independent reading: blanks, tabs
// and line feeds removed, then the C library's strtod ("C" locale: this
// program never calls setlocale) on the longest decimal prefix.
#include "platform/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace durmivela;

static LeadingNumber referencia(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    auto digitos = [&](std::size_t i) {
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i;
    };
    const std::size_t i = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
    std::size_t fin = digitos(i);
    bool hayDigitos = fin > i;
    if (fin < s.size() && s[fin] == '.') {
        const std::size_t fraccion = digitos(fin + 1);
        hayDigitos = hayDigitos || fraccion > fin + 1;
        fin = fraccion;
    }
    if (!hayDigitos) return {};  // "", "+", ".", "-." ...
    if (fin < s.size() && (s[fin] == 'e' || s[fin] == 'E')) {
        std::size_t e = fin + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        if (digitos(e) > e) fin = digitos(e);
    }
    // Only [sign]digits[.digits][e[sign]digits] reaches strtod: no hex, inf or nan.
    return {std::strtod(s.substr(0, fin).c_str(), nullptr), true, fin == s.size()};
}

static void compara(double valor, const char* texto) {
    const double esperado = std::nearbyint(valor);  // the default rounding: a half to even
    const double obtenido = roundHalfEven(valor);
    if (obtenido == esperado || (std::isnan(valor) && std::isnan(obtenido))) return;
    std::fprintf(stderr, "roundHalfEven(%.17g) from \"%s\" = %.17g, not %.17g\n", valor, texto, obtenido, esperado);
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string texto(reinterpret_cast<const char*>(data), size);
    const LeadingNumber leido = readLeadingNumber(texto);
    const LeadingNumber ref = referencia(texto);
    if (std::isnan(leido.value) || leido.value != ref.value || leido.found != ref.found || leido.whole != ref.whole) {
        std::fprintf(stderr, "\"%s\" read as %.17g found=%d whole=%d, not %.17g found=%d whole=%d\n", texto.c_str(),
                     leido.value, leido.found, leido.whole, ref.value, ref.found, ref.whole);
        std::abort();
    }
    compara(leido.value, texto.c_str());
    if (size >= sizeof(double)) {  // any double, NaN and infinities included
        double bits;
        std::memcpy(&bits, data, sizeof bits);
        compara(bits, "raw bits");
    }
    (void)maskZeroHash(texto);
    return 0;
}
