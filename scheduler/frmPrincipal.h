// The main window: start-up, the schedule entry, the clock and the countdown.
#pragma once

#include "capture/Captura.h"
#include "lang/Lenguaje.h"
#include "platform/Form.h"
#include "platform/Services.h"
#include "scheduler/RegistroApagado.h"
#include "settings/Configuracion.h"
#include "tray/IconoBandeja.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace durmivela {

// Language records that name things only assistive technology reads, and the
// message of a refused shutdown; files older than these records lack them.
inline constexpr int kClaveApagadoRechazado = 209;
inline constexpr int kClaveHora = 210;
inline constexpr int kClaveMinuto = 211;

class frmPrincipal : public Form {
public:
    frmPrincipal(Plataforma& plataforma, Configuracion& configuracion, TablaLenguaje& lenguaje);

    // Remaining delay of a type-2 schedule, in whole seconds.
    std::int32_t Cronometro = 0;
    // Armed from ACEPTAR until a stop, also after a refused shutdown. The
    // stop/quit button acts by this, not by its caption, which any language
    // file may word as it likes.
    bool armado() const { return armado_; }

    void Form_Load();
    void Form_Activate();
    void EtiquetarMenus();
    void AplicarConfiguracion();
    void Timer1_Timer();

    // Schedule entry.
    void cmbApagar_Click();
    void CalcularHoraApagado(int minutos);
    void cmdAceptar_Click();

    // Countdown, stop and shutdown.
    void Timer2_Timer();
    void cmdSalir_Click();
    void EjecutarApagado();
    void AvisarApagadoRechazado(const std::string& motivo);
    void HabilitarPrivilegioApagado();
    // `hecho` is what the record says was done, in the Log setting's numbers.
    WriteResult EscribirLog(int hecho);
    WriteResult GuardarCaptura();

    // Notification area.
    void Form_Resize();
    void Form_Unload();
    void MostrarIconoBandeja();
    void AreaNotificacionCambiada(bool disponible);
    void pctSysTrayIcon_MouseMove(int button, int shift, int x, int y);
    void mnuSTIAbrir_Click();
    void mnuSTIParar_Click();
    void mnuSTISalir_Click();
    void mnuSalir_Click();

    // Menu commands.
    void mnuConfiguracion_Click();
    void mnuLog_Click();
    void mnuCaptura_Click();
    void mnuContenido_Click();
    void mnuActualizar_Click();
    void mnuAcercade_Click();
    void mnuDonativos_Click();

    // Controls, in the order of the window's control collection.
    Label& lblTituloHoraAct = add<Label>("lblTituloHoraAct", nullptr, Twips{240, 240, 1335, 255});
    Label& lblHoraActual = add<Label>("lblHoraActual", nullptr, Twips{1920, 240, 2415, 255});
    Frame& fmeConf = add<Frame>("fmeConf", nullptr, Twips{240, 720, 4215, 2505});
    Label& lblApagarA = add<Label>("lblApagarA", &fmeConf, Twips{360, 360, 1335, 255});
    Label& lblApagar = add<Label>("lblApagar", &fmeConf, Twips{360, 360, 1335, 255});
    TextBox& txtHora = add<TextBox>("txtHora", &fmeConf, Twips{2280, 360, 615, 285});
    Label& lblDosPuntos = add<Label>("lblDosPuntos", &fmeConf, Twips{2890, 360, 135, 255});
    TextBox& txtMinuto = add<TextBox>("txtMinuto", &fmeConf, Twips{3000, 360, 615, 285});
    ComboBox& cmbApagar = add<ComboBox>("cmbApagar", &fmeConf, Twips{2280, 360, 1095, 315});
    Label& lblTituloHoraApa = add<Label>("lblTituloHoraApa", &fmeConf, Twips{240, 960, 1575, 255});
    Label& lblHoraApa = add<Label>("lblHoraApa", &fmeConf, Twips{2130, 960, 1245, 255});
    Label& lblAprox = add<Label>("lblAprox", &fmeConf, Twips{3395, 1040, 495, 195});
    Frame& fmeInformacion = add<Frame>("fmeInformación", &fmeConf, Twips{150, 1365, 3915, 1050});
    Label& lblAviso = add<Label>("lblAviso", &fmeInformacion, Twips{150, 240, 3615, 660});
    CommandButton& cmdAceptar = add<CommandButton>("cmdAceptar", nullptr, Twips{360, 3375, 1335, 375});
    PictureBox& pctSysTrayIcon = add<PictureBox>("pctSysTrayIcon", nullptr, Twips{1980, 3360, 495, 375});
    CommandButton& cmdSalir = add<CommandButton>("cmdSalir", nullptr, Twips{3000, 3375, 1335, 375});
    Timer& Timer1 = add<Timer>("Timer1", 500, true);
    Timer& Timer2 = add<Timer>("Timer2", 1000, false);

    // Menu tree, in menu-bar order.
    MenuItem& mnuPrincipal = add<MenuItem>("mnuPrincipal", nullptr, "101");
    MenuItem& mnuConfiguracion = add<MenuItem>("mnuConfiguracion", &mnuPrincipal, "102");
    MenuItem& mnuLog = add<MenuItem>("mnuLog", &mnuPrincipal, "103");
    MenuItem& mnuCaptura = add<MenuItem>("mnuCaptura", &mnuPrincipal, "104");
    MenuItem& Sep1 = add<MenuItem>("Sep1", &mnuPrincipal, "-");
    MenuItem& mnuSalir = add<MenuItem>("mnuSalir", &mnuPrincipal, "105");
    MenuItem& mnuAyuda = add<MenuItem>("mnuAyuda", nullptr, "106");
    MenuItem& mnuContenido = add<MenuItem>("mnuContenido", &mnuAyuda, "107");
    MenuItem& Sep4 = add<MenuItem>("Sep4", &mnuAyuda, "-");
    MenuItem& mnuActualizar = add<MenuItem>("mnuActualizar", &mnuAyuda, "113");
    MenuItem& Sep5 = add<MenuItem>("Sep5", &mnuAyuda, "-");
    MenuItem& mnuAcercade = add<MenuItem>("mnuAcercade", &mnuAyuda, "108");
    MenuItem& mnuDonativos = add<MenuItem>("mnuDonativos", nullptr, "112");
    MenuItem& mnuSysTrayIcon = add<MenuItem>("mnuSysTrayIcon", nullptr, "SysTrayIcon");
    MenuItem& mnuTitulo = add<MenuItem>("mnuTitulo", &mnuSysTrayIcon, "Durmivela");
    MenuItem& Sep2 = add<MenuItem>("Sep2", &mnuSysTrayIcon, "-");
    MenuItem& mnuSTIAbrir = add<MenuItem>("mnuSTIAbrir", &mnuSysTrayIcon, "109");
    MenuItem& mnuSTIParar = add<MenuItem>("mnuSTIParar", &mnuSysTrayIcon, "110");
    MenuItem& Sep3 = add<MenuItem>("Sep3", &mnuSysTrayIcon, "-");
    MenuItem& mnuSTISalir = add<MenuItem>("mnuSTISalir", &mnuSysTrayIcon, "111");

private:
    void disenar();
    void conectarEventos();
    void restaurarVentana();
    void volverALaBarraDeTareas();
    bool puedeArmarse() const;
    std::filesystem::path rutaDelUsuario(const char* nombre) const;

    Plataforma& plataforma_;
    Configuracion& configuracion_;
    TablaLenguaje& lenguaje_;
    IconoBandeja iconoBandeja_;
    bool armado_ = false;
    std::uint8_t tipoArmado_ = 0;  // the type the schedule runs under
    // The delay's end on the monotonic clock, and the Cronometro it last
    // gave: a Cronometro changed since (a preset chosen while armed) counts
    // from the next tick. Unset until a delay is armed.
    std::optional<std::int64_t> finCuentaAtras_;
    std::int32_t cronometroContado_ = 0;
    bool actualizando_ = false;  // an online update is running
    // Language files already reported as unusable, so each is reported once.
    std::set<std::string> lenguajesInformados_;
};

}  // namespace durmivela
