// The settings dialog: programming type, log and capture, language, and the
// name of the operating system.
#pragma once

#include "lang/Lenguaje.h"
#include "platform/Form.h"
#include "platform/Services.h"
#include "settings/Configuracion.h"

#include <string>
#include <vector>

namespace durmivela {

// The system's name: its own where it is not Windows, otherwise by the
// version numbers.
std::string OSVersion(const SystemInfo& sistema);

// The base names of the language files in all the language folders, each
// once, in name order.
std::vector<std::string> lenguajesDisponibles(const std::vector<std::filesystem::path>& carpetas,
                                              const FileAttributes& atributos);

class frmConfiguracion : public Form {
public:
    frmConfiguracion(Plataforma& plataforma, Configuracion& configuracion, TablaLenguaje& lenguaje);

    void Form_Load();
    void cmdAplicar_Click();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void chkLog_Click();
    void opbEstablecerDirecto_Click();
    void opbEstablecerCalculos_Click();

    // Controls, in the order of the dialog's control collection.
    Frame& fmeSistema = add<Frame>("fmeSistema", nullptr, Twips{75, 150, 4440, 690});
    Label& lblSistema = add<Label>("lblSistema", &fmeSistema, Twips{225, 300, 3990, 240});
    Frame& fmeTipoProgramacion = add<Frame>("fmeTipoProgramacion", nullptr, Twips{75, 900, 4440, 840});
    OptionButton& opbEstablecerDirecto =
        add<OptionButton>("opbEstablecerDirecto", &fmeTipoProgramacion, Twips{225, 300, 1965, 390});
    OptionButton& opbEstablecerCalculos =
        add<OptionButton>("opbEstablecerCalculos", &fmeTipoProgramacion, Twips{2250, 300, 2040, 390});
    Frame& fmeLog = add<Frame>("fmeLog", nullptr, Twips{75, 1800, 4440, 690});
    CheckBox& chkLog = add<CheckBox>("chkLog", &fmeLog, Twips{225, 300, 2190, 240});
    CheckBox& chkCaptura = add<CheckBox>("chkCaptura", &fmeLog, Twips{2520, 300, 1815, 255});
    Frame& fmeLenguaje = add<Frame>("fmeLenguaje", nullptr, Twips{60, 2520, 4440, 690});
    ComboBox& cmbLenguaje = add<ComboBox>("cmbLenguaje", &fmeLenguaje, Twips{240, 270, 3975, 315});
    CommandButton& cmdAceptar = add<CommandButton>("cmdAceptar", nullptr, Twips{1425, 3360, 915, 390});
    CommandButton& cmdAplicar = add<CommandButton>("cmdAplicar", nullptr, Twips{2400, 3360, 915, 390});
    CommandButton& cmdCancelar = add<CommandButton>("cmdCancelar", nullptr, Twips{3450, 3360, 915, 390});

private:
    void disenar();

    Plataforma& plataforma_;
    Configuracion& configuracion_;
    TablaLenguaje& lenguaje_;
};

}  // namespace durmivela
