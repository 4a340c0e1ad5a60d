#include "settings/frmConfiguracion.h"

#include "scheduler/Version.h"

#include <algorithm>
#include <system_error>

namespace durmivela {

std::string OSVersion(const SystemInfo& sistema) {
    if (std::string propio = sistema.ownName(); !propio.empty()) return propio;
    OsVersionNumbers v;
    if (!sistema.versionNumbers(v)) v = {};
    constexpr std::uint32_t kNT = 2;
    constexpr std::uint32_t kPrimeraCompilacionWindows11 = 22000;
    switch (v.major) {
        case 3: return v.platformId == kNT ? "Windows NT 3.x" : "Windows 3.x";
        case 4:
            if (v.platformId == kNT) return "Windows NT 4.0";
            return v.minor == 0 ? "Windows 95" : "Windows 98";
        case 5: return v.minor == 1 ? "Windows XP Profesional" : "Windows 2000";
        // Versions after the program's own time, named as users know them.
        case 6:
            if (v.minor == 2) return "Windows 8";
            if (v.minor == 3) return "Windows 8.1";
            return "Version de Windows Desconocida";
        case 10:
            if (v.minor != 0) return "Version de Windows Desconocida";
            return v.build >= kPrimeraCompilacionWindows11 ? "Windows 11" : "Windows 10";
        default: return "Version de Windows Desconocida";
    }
}

std::vector<std::string> lenguajesDisponibles(const std::vector<std::filesystem::path>& carpetas,
                                              const FileAttributes& atributos) {
    std::vector<std::string> nombres;
    for (const std::filesystem::path& carpeta : carpetas) {
        std::error_code error;
        for (const auto& entrada : std::filesystem::directory_iterator(carpeta, error)) {
            const std::u8string archivo = entrada.path().filename().u8string();
            const std::u8string extension = u8".lng";
            if (archivo.size() <= extension.size() || !archivo.ends_with(extension)) continue;
            std::error_code tipo;
            if (!entrada.is_regular_file(tipo) || atributos.hiddenOrSystem(entrada.path())) continue;
            std::string nombre(archivo.begin(), archivo.end() - static_cast<std::ptrdiff_t>(extension.size()));
            if (nombreLenguajeValido(nombre)) nombres.push_back(std::move(nombre));
        }
    }
    std::sort(nombres.begin(), nombres.end());
    nombres.erase(std::unique(nombres.begin(), nombres.end()), nombres.end());
    return nombres;
}

frmConfiguracion::frmConfiguracion(Plataforma& plataforma, Configuracion& configuracion, TablaLenguaje& lenguaje)
    : Form("frmConfiguracion", Twips{0, 0, 4680, 3885}),
      plataforma_(plataforma),
      configuracion_(configuracion),
      lenguaje_(lenguaje) {
    disenar();
    onLoad = [this] { Form_Load(); };
    cmdAplicar.onClick = [this] { cmdAplicar_Click(); };
    cmdAceptar.onClick = [this] { cmdAceptar_Click(); };
    cmdCancelar.onClick = [this] { cmdCancelar_Click(); };
    chkLog.onClick = [this] { chkLog_Click(); };
    opbEstablecerDirecto.onClick = [this] { opbEstablecerDirecto_Click(); };
    opbEstablecerCalculos.onClick = [this] { opbEstablecerCalculos_Click(); };
}

void frmConfiguracion::disenar() {
    setCaption("Configuración");
    minimizeBox = false;
    const std::pair<Control*, const char*> textos[] = {
        {&fmeSistema, "Sistema Operativo"},
        {&fmeTipoProgramacion, "Tipo de Programación"},
        {&opbEstablecerDirecto, "Establecer la hora directamente"},
        {&opbEstablecerCalculos, "Establecer la hora tras un calculo"},
        {&fmeLog, "Informe"},
        {&chkLog, "Generar Archivo LOG"},
        {&chkCaptura, "Capturar Pantalla"},
        {&fmeLenguaje, "Lenguaje"},
        {&cmdAceptar, "Aceptar"},
        {&cmdAplicar, "Aplicar"},
        {&cmdCancelar, "Cancelar"},
    };
    for (const auto& [control, texto] : textos) control->setCaption(texto);
    const std::pair<Control*, int> claves[] = {
        {&fmeSistema, 301}, {&fmeTipoProgramacion, 302}, {&fmeLog, 303},     {&fmeLenguaje, 304},
        {&opbEstablecerDirecto, 305}, {&opbEstablecerCalculos, 306}, {&chkLog, 307}, {&chkCaptura, 308},
        {&cmdAceptar, 309}, {&cmdAplicar, 310}, {&cmdCancelar, 311},
    };
    for (const auto& [control, clave] : claves) control->setTag(std::to_string(clave));
    for (Frame* marco : {&fmeSistema, &fmeTipoProgramacion, &fmeLog, &fmeLenguaje}) marco->font.bold = true;
    lblSistema.alignment = Alignment::Centre;
    lblSistema.foreColour = Colour::fixed(0, 128, 128);
    cmdAplicar.setEnabled(false);
    lblSistema.labelledBy = &fmeSistema;
    cmbLenguaje.labelledBy = &fmeLenguaje;
    Control* const orden[] = {&chkLog, &cmdAceptar, &cmdAplicar, &cmdCancelar, &opbEstablecerDirecto,
                              &opbEstablecerCalculos, &cmbLenguaje, &chkCaptura};
    int indice = 0;
    for (Control* control : orden) control->tabIndex = indice++;
}

void frmConfiguracion::Form_Load() {
    AplicarLenguaje(*this, lenguaje_);
    lblSistema.setCaption(OSVersion(plataforma_.system));
    // Selecting from the program counts as the user's click, so Aplicar is
    // enabled as soon as the dialog shows a type.
    if (configuracion_.Tipo == 1) {
        opbEstablecerDirecto.choose();
        opbEstablecerDirecto.click();
    } else if (configuracion_.Tipo == 2) {
        opbEstablecerCalculos.choose();
        opbEstablecerCalculos.click();
    }
    const int log = configuracion_.Log;
    if (log >= 1 && log <= 4) {
        chkCaptura.setValue(log == 3 || log == 4);
        if (log == 2 || log == 4) {
            chkLog.setValue(1);
            chkLog.click();
        }
    }
    for (std::string& nombre : lenguajesDisponibles(plataforma_.program.languageFolders(), plataforma_.files))
        cmbLenguaje.addItem(std::move(nombre));
    cmbLenguaje.setText(configuracion_.Lenguaje);
}

void frmConfiguracion::cmdAplicar_Click() {
    if (opbEstablecerDirecto.value()) configuracion_.Tipo = 1;
    else if (opbEstablecerCalculos.value()) configuracion_.Tipo = 2;

    const int log = chkLog.value();
    const int captura = chkCaptura.value();
    if ((log == 0 || log == 1) && (captura == 0 || captura == 1))
        configuracion_.Log = static_cast<std::uint8_t>(1 + log + 2 * captura);

    configuracion_.Lenguaje = cmbLenguaje.text();
    CargarLenguaje(lenguaje_, plataforma_.program.languageFolders(), configuracion_.Lenguaje);
    AplicarLenguaje(*this, lenguaje_);
}

// A settings file that cannot be written is reported and the dialog stays
// open: what Aplicar put in force stays, and the user can cancel.
void frmConfiguracion::cmdAceptar_Click() {
    cmdAplicar_Click();
    const WriteResult escrito = GuardarConfiguracion(configuracion_, plataforma_.program.userFolder());
    if (!escrito.ok) {
        plataforma_.messages.show("No se pudo guardar la configuración en\n" +
                                      utf8FromPath(plataforma_.program.userFolder() / kArchivoConfiguracion) + "\n\n" +
                                      escrito.reason,
                                  kTituloPrograma, MessageIcon::Warning);
        return;
    }
    close();
}

void frmConfiguracion::cmdCancelar_Click() { close(); }

void frmConfiguracion::chkLog_Click() { cmdAplicar.setEnabled(true); }
void frmConfiguracion::opbEstablecerDirecto_Click() { cmdAplicar.setEnabled(true); }
void frmConfiguracion::opbEstablecerCalculos_Click() { cmdAplicar.setEnabled(true); }

}  // namespace durmivela
