#include "scheduler/frmPrincipal.h"

#include "about/ComandosMenu.h"
#include "platform/NumberText.h"
#include "platform/TextoCitado.h"
#include "scheduler/TextoHora.h"
#include "scheduler/Version.h"
#include "settings/frmConfiguracion.h"
#include "update/Direcciones.h"
#include "update/mdlActualizar.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace durmivela {

frmPrincipal::frmPrincipal(Plataforma& plataforma, Configuracion& configuracion, TablaLenguaje& lenguaje)
    : Form("frmPrincipal", Twips{0, 0, 4680, 3945}),
      plataforma_(plataforma),
      configuracion_(configuracion),
      lenguaje_(lenguaje),
      iconoBandeja_(plataforma.tray) {
    disenar();
    conectarEventos();
}

void frmPrincipal::conectarEventos() {
    onLoad = [this] { Form_Load(); };
    onActivate = [this] { Form_Activate(); };
    onResize = [this] { Form_Resize(); };
    onUnload = [this] { Form_Unload(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    cmbApagar.onClick = [this] { cmbApagar_Click(); };
    cmdAceptar.onClick = [this] { cmdAceptar_Click(); };
    cmdSalir.onClick = [this] { cmdSalir_Click(); };
    pctSysTrayIcon.onMouseMove = [this](int button, int shift, int x, int y) {
        pctSysTrayIcon_MouseMove(button, shift, x, y);
    };
    mnuSTIAbrir.onClick = [this] { mnuSTIAbrir_Click(); };
    mnuSTIParar.onClick = [this] { mnuSTIParar_Click(); };
    mnuSTISalir.onClick = [this] { mnuSTISalir_Click(); };
    mnuSalir.onClick = [this] { mnuSalir_Click(); };
    iconoBandeja_.alCambiarDisponibilidad([this](bool disponible) { AreaNotificacionCambiada(disponible); });
    mnuConfiguracion.onClick = [this] { mnuConfiguracion_Click(); };
    mnuLog.onClick = [this] { mnuLog_Click(); };
    mnuCaptura.onClick = [this] { mnuCaptura_Click(); };
    mnuContenido.onClick = [this] { mnuContenido_Click(); };
    mnuActualizar.onClick = [this] { mnuActualizar_Click(); };
    mnuAcercade.onClick = [this] { mnuAcercade_Click(); };
    mnuDonativos.onClick = [this] { mnuDonativos_Click(); };
}

// The window as designed, before start-up gives it texts.
void frmPrincipal::disenar() {
    const Colour rojo = Colour::fixed(255, 0, 0);

    lblTituloHoraAct.setCaption("HORA ACTUAL: ");
    lblTituloHoraAct.setTag("201");
    lblTituloHoraAct.foreColour = rojo;

    lblHoraActual.alignment = Alignment::Centre;
    lblHoraActual.border = true;
    lblHoraActual.backColour = Colour::window();

    fmeConf.setCaption("Configuración del Apagado");
    fmeConf.setTag("205");
    fmeConf.font.bold = true;

    lblApagarA.setCaption("Apagar a las:");
    lblApagarA.setTag("203");
    lblApagar.setCaption("Apagar tras:");
    lblApagar.setTag("202");
    lblDosPuntos.setCaption(":");

    for (const char* preset : {"5 Min", "10 Min", "15 Min", "30 Min", "45 Min", "1 H", "2 H", "3 H", "5 H", "10 H",
                               "5 Seg"})
        cmbApagar.addItem(preset);

    lblTituloHoraApa.setCaption("Hora de Apagado:");
    lblTituloHoraApa.setTag("204");
    lblTituloHoraApa.foreColour = rojo;

    lblHoraApa.alignment = Alignment::Centre;
    lblHoraApa.border = true;
    lblHoraApa.backColour = Colour::fixed(255, 255, 128);

    lblAprox.setCaption("(Aprox.)");
    lblAprox.foreColour = rojo;
    lblAprox.font.points = 6;

    fmeInformacion.setCaption("Informacion");
    fmeInformacion.setTag("206");
    fmeInformacion.font.bold = true;

    lblAviso.backColour = Colour::window();
    lblAviso.multiLine = true;

    cmdAceptar.setCaption("ACEPTAR");
    cmdAceptar.setTag("207");
    cmdSalir.setCaption("Salir");
    cmdSalir.setTag("208");

    mnuTitulo.isDefault = true;
    // It holds the icon for the notification area and receives its events;
    // the window itself does not show it.
    pctSysTrayIcon.setVisible(false);

    const std::pair<Control*, int> orden[] = {
        {&lblTituloHoraAct, 0}, {&txtHora, 1},      {&txtMinuto, 2},   {&lblHoraActual, 3},
        {&fmeConf, 4},          {&lblApagar, 5},    {&cmbApagar, 6},   {&lblTituloHoraApa, 7},
        {&lblHoraApa, 8},       {&cmdAceptar, 9},   {&cmdSalir, 10},   {&lblAprox, 11},
        {&fmeInformacion, 12},  {&lblAviso, 13},    {&lblApagarA, 14}, {&lblDosPuntos, 15},
        {&pctSysTrayIcon, 16},
    };
    for (const auto& [control, indice] : orden) control->tabIndex = indice;

    // What a screen reader names each control by: the label before it.
    lblHoraActual.labelledBy = &lblTituloHoraAct;
    txtHora.labelledBy = &lblApagarA;
    txtMinuto.labelledBy = &lblApagarA;
    cmbApagar.labelledBy = &lblApagar;
    lblHoraApa.labelledBy = &lblTituloHoraApa;
    // The hint says what to do with the entry and the button.
    for (Control* entrada : {static_cast<Control*>(&txtHora), static_cast<Control*>(&txtMinuto),
                             static_cast<Control*>(&cmbApagar), static_cast<Control*>(&cmdAceptar)})
        entrada->describedBy = &lblAviso;
}

std::filesystem::path frmPrincipal::rutaDelUsuario(const char* nombre) const {
    return plataforma_.program.userFolder() / nombre;
}

void frmPrincipal::Form_Load() {
    setCaption(tituloEstandar());
    Timer1_Timer();

    const WriteResult escrito =
        LeerConfiguracion(configuracion_, plataforma_.program.userFolder(), plataforma_.files);
    if (!escrito.ok)
        plataforma_.messages.show("No se pudo crear el archivo de configuración\n" +
                                      utf8FromPath(rutaDelUsuario(kArchivoConfiguracion)) + "\n\n" + escrito.reason,
                                  kTituloPrograma, MessageIcon::Warning);

    EtiquetarMenus();
    AplicarConfiguracion();
    mnuLog.setEnabled(ExisteArchivo(rutaDelUsuario(kArchivoLog)));
    mnuCaptura.setEnabled(ExisteArchivo(rutaDelUsuario(kArchivoCaptura)));
    pctSysTrayIcon.setHasIcon(true);
}

// Activation changes nothing.
void frmPrincipal::Form_Activate() {}

void frmPrincipal::EtiquetarMenus() {
    MenuItem* const numerados[] = {&mnuPrincipal, &mnuConfiguracion, &mnuLog,        &mnuCaptura, &mnuSalir,
                                   &mnuAyuda,     &mnuContenido,     &mnuAcercade,   &mnuSTIAbrir, &mnuSTIParar,
                                   &mnuSTISalir,  &mnuDonativos,     &mnuActualizar};
    int numero = 101;
    for (MenuItem* menu : numerados) menu->setTag(std::to_string(numero++));
}

void frmPrincipal::AplicarConfiguracion() {
    const std::vector<std::filesystem::path> carpetas = plataforma_.program.languageFolders();
    const ResultadoCarga carga = CargarLenguaje(lenguaje_, carpetas, configuracion_.Lenguaje);
    if (carga != ResultadoCarga::Cargado) {
        const bool sinTextos = lenguaje_.vacia();
        if (sinTextos) lenguaje_ = lenguajeIntegrado();
        if (lenguajesInformados_.insert(configuracion_.Lenguaje).second) {
            const std::filesystem::path carpeta = carpetaLenguaje(carpetas, configuracion_.Lenguaje);
            const std::string ruta = utf8FromPath(rutaLenguaje(carpeta, citar(configuracion_.Lenguaje)));
            plataforma_.messages.show(
                (carga == ResultadoCarga::NoLeido ? "No se pudo leer el archivo de idioma\n"
                                                  : "El archivo de idioma está incompleto\n") +
                    ruta +
                    (sinTextos ? "\n\nSe usan los textos en español incorporados al programa."
                               : "\n\nSe siguen usando los textos del idioma anterior."),
                kTituloPrograma, MessageIcon::Warning);
        }
    }
    AplicarLenguaje(*this, lenguaje_);
    // The language gave the button its quit word; while armed it must still
    // say what it does.
    if (armado_) cmdSalir.setCaption(lenguaje_.L(14));

    const bool hora = configuracion_.Tipo == 1;
    lblApagarA.setVisible(hora);
    lblApagar.setVisible(!hora);
    txtHora.setVisible(hora);
    txtMinuto.setVisible(hora);
    lblDosPuntos.setVisible(hora);
    cmbApagar.setVisible(!hora);
    lblTituloHoraApa.setVisible(!hora);
    lblHoraApa.setVisible(!hora);
    lblAprox.setVisible(!hora);
    lblAviso.setCaption(lenguaje_.L(hora ? 10 : 9));
    txtHora.setAccessibleDetail(textoConRespaldo(lenguaje_, kClaveHora));
    txtMinuto.setAccessibleDetail(textoConRespaldo(lenguaje_, kClaveMinuto));
}

void frmPrincipal::Timer1_Timer() {
    const Clock& reloj = plataforma_.clock;
    lblHoraActual.setCaption(reloj.longTimeFormat(reloj.timeOfDay()));
}

}  // namespace durmivela

namespace durmivela {

namespace {

// The presets of cmbApagar, by position: duration in seconds.
constexpr std::int32_t kDuraciones[] = {300, 600, 900, 1800, 2700, 3600, 7200, 10800, 18000, 36000, 5};

// Milliseconds left, as the whole seconds the title shows: the nearest, so
// that a tick a little late still shows the second it stands for.
std::int32_t segundosRestantes(std::int64_t ms) {
    const std::int64_t segundos = (ms < 0 ? ms - 500 : ms + 500) / 1000;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(segundos, INT32_MIN, INT32_MAX));
}

}  // namespace

void frmPrincipal::cmbApagar_Click() {
    const int posicion = cmbApagar.listIndex();
    if (posicion >= 0 && posicion <= 10) {
        if (posicion <= 4)
            CalcularHoraApagado(kDuraciones[posicion] / 60);
        else
            lblHoraApa.setCaption(textoHoraFija(sumarSegundos(plataforma_.clock.timeOfDay(), kDuraciones[posicion])));
        Cronometro = kDuraciones[posicion];
    }
    lblAviso.setCaption(lenguaje_.L(16));
}

void frmPrincipal::CalcularHoraApagado(int minutos) {
    lblHoraApa.setCaption(textoHoraFija(sumarSegundos(plataforma_.clock.timeOfDay(), minutos * 60)));
}

// A delay must remain, or the clock-time fields must name a time of day that
// the watch tick can match; otherwise a stray ACEPTAR would force a shutdown
// at once, or arm a schedule that never fires.
bool frmPrincipal::puedeArmarse() const {
    if (configuracion_.Tipo != 1) return Cronometro > 0;
    bool hora = false;
    bool minuto = false;
    for (int valor = 0; valor < 60; ++valor) {
        hora = hora || (valor < 24 && campoCoincide(txtHora.text(), valor));
        minuto = minuto || campoCoincide(txtMinuto.text(), valor);
    }
    return hora && minuto;
}

void frmPrincipal::cmdAceptar_Click() {
    if (!puedeArmarse()) {
        lblAviso.setCaption(lenguaje_.L(configuracion_.Tipo == 1 ? 10 : 9));
        return;
    }
    armado_ = true;
    tipoArmado_ = configuracion_.Tipo;
    setWindowState(WindowState::Minimized);  // goes to the notification area
    // Ticks are anchored to this moment too, so on time they count exactly
    // one second each.
    finCuentaAtras_ = plataforma_.clock.monotonicMs() + std::int64_t{Cronometro} * 1000;
    cronometroContado_ = Cronometro;
    Timer2.setEnabled(true);
    cmdAceptar.setEnabled(false);
    lblAviso.setCaption(lenguaje_.L(15));
    cmdSalir.setCaption(lenguaje_.L(14));
    if (configuracion_.Tipo == 1)
        setCaption(lenguaje_.L(12) + " " + maskZeroHash(txtHora.text()) + ":" + maskZeroHash(txtMinuto.text()));
}

void frmPrincipal::Timer2_Timer() {
    // The settings dialog may change the type while armed. The new type takes
    // over only if it can fire as arming would have required: a clock-time
    // schedule turned into a delay with none left would otherwise force a
    // shutdown on this very tick. If it cannot, the schedule stops and the
    // window comes back to say so.
    if (configuracion_.Tipo != tipoArmado_) {
        if (!puedeArmarse()) {
            cmdSalir_Click();
            lblAviso.setCaption(lenguaje_.L(configuracion_.Tipo == 1 ? 10 : 9));
            restaurarVentana();
            return;
        }
        tipoArmado_ = configuracion_.Tipo;
        finCuentaAtras_.reset();
    }
    if (configuracion_.Tipo == 1) {
        const TimeOfDay ahora = plataforma_.clock.timeOfDay();
        if (campoCoincide(txtHora.text(), ahora.hour) && campoCoincide(txtMinuto.text(), ahora.minute))
            EjecutarApagado();
        return;
    }
    // What is left comes from the clock, not from counting ticks: a tick that
    // comes late, or none while the program was held, never delays the
    // shutdown. A delay chosen since the last tick counts from this one,
    // which takes its first second as every tick does.
    const std::int64_t ahora = plataforma_.clock.monotonicMs();
    if (!finCuentaAtras_ || Cronometro != cronometroContado_)
        finCuentaAtras_ = ahora + (std::int64_t{Cronometro} - 1) * 1000;
    Cronometro = segundosRestantes(*finCuentaAtras_ - ahora);
    cronometroContado_ = Cronometro;
    setCaption(textoDuracion(Cronometro) + " " + lenguaje_.L(8));
    if (Cronometro < 0) EjecutarApagado();
}

void frmPrincipal::cmdSalir_Click() {
    if (armado_) {
        armado_ = false;
        cmdAceptar.setEnabled(true);
        cmdSalir.setCaption(lenguaje_.L(13));
        Timer2.setEnabled(false);
        lblHoraApa.setCaption("");
        cmbApagar.setText("");
        setCaption(tituloEstandar());
        // The window may stay hidden behind the icon: its tooltip must no
        // longer announce the shutdown.
        if (iconoBandeja_.mostrado() && !iconoBandeja_.mostrar(tituloEstandar())) volverALaBarraDeTareas();
    } else {
        close();
    }
}

// The records are written and flushed before the request, so a forced shutdown
// cannot lose them; a record that fails does not hold back the shutdown the
// user asked for, and no message may block it either.
void frmPrincipal::EjecutarApagado() {
    const int log = configuracion_.Log;
    // The capture comes first, so that the record says only what was done:
    // a capture that could not be made leaves a record of the record alone.
    const bool capturada = (log == 3 || log == 4) && GuardarCaptura().ok;
    if (log == 2 || log == 4) EscribirLog(log == 4 && !capturada ? 2 : log);
    Timer2.setEnabled(false);
    HabilitarPrivilegioApagado();
    std::string motivo;
    if (!plataforma_.power.requestForcedShutdown(motivo)) AvisarApagadoRechazado(motivo);
}

// A user who left the machine to switch itself off must not find it on and
// the program hidden: the window comes back, still armed (its stop button
// clears the schedule), with the system's reason.
void frmPrincipal::AvisarApagadoRechazado(const std::string& motivo) {
    restaurarVentana();
    std::string aviso = citar(textoConRespaldo(lenguaje_, kClaveApagadoRechazado), kTextoMaximo);
    if (!motivo.empty()) aviso += "\n\n" + motivo;
    plataforma_.messages.show(aviso, tituloEstandar(), MessageIcon::Warning);
}

void frmPrincipal::HabilitarPrivilegioApagado() { plataforma_.power.enableShutdownRight(); }

WriteResult frmPrincipal::EscribirLog(int hecho) {
    return writeFileDurably(rutaDelUsuario(kArchivoLog),
                            textoRegistro(lenguaje_, configuracion_.Tipo, hecho, plataforma_.clock.timeOfDay()));
}

WriteResult frmPrincipal::GuardarCaptura() {
    return durmivela::GuardarCaptura(plataforma_.screen, plataforma_.program.userFolder());
}

void frmPrincipal::Form_Resize() {
    if (windowState() == WindowState::Minimized) MostrarIconoBandeja();
}

void frmPrincipal::Form_Unload() { iconoBandeja_.quitar(); }

// Without a notification area, or when it refuses the icon, the window stays
// minimised on the taskbar, so the user can always reach it and stop the schedule.
void frmPrincipal::MostrarIconoBandeja() {
    if (!iconoBandeja_.disponible()) return;
    const Clock& reloj = plataforma_.clock;
    if (iconoBandeja_.mostrar(textoIconoBandeja(configuracion_.Tipo, txtHora.text(), txtMinuto.text(), Cronometro,
                                                reloj.longTimeFormat(reloj.timeOfDay()))))
        hide();
}

// A notification area that goes away (its panel crashed or restarted) takes
// the icon with it: the hidden window comes back minimised on the taskbar, as
// when there is none at arming. One that appears takes a window still
// minimised there back into the tray, as arming would have.
void frmPrincipal::AreaNotificacionCambiada(bool disponible) {
    if (!disponible) {
        if (iconoBandeja_.mostrado()) volverALaBarraDeTareas();
    } else if (windowState() == WindowState::Minimized && visible() && !iconoBandeja_.mostrado()) {
        MostrarIconoBandeja();
    }
}

// The window behind the icon is minimised: shown, it stays so, on the taskbar.
void frmPrincipal::volverALaBarraDeTareas() {
    iconoBandeja_.quitar();
    show();
}

void frmPrincipal::pctSysTrayIcon_MouseMove(int, int, int x, int) {
    constexpr int kDobleClicIzquierdo = 515;  // WM_LBUTTONDBLCLK
    constexpr int kBotonDerechoSuelto = 517;  // WM_RBUTTONUP
    if (x == kDobleClicIzquierdo) restaurarVentana();
    else if (x == kBotonDerechoSuelto) popupMenu(mnuSysTrayIcon);
}

void frmPrincipal::restaurarVentana() {
    setWindowState(WindowState::Normal);
    show();
    iconoBandeja_.quitar();
}

void frmPrincipal::mnuSTIAbrir_Click() { restaurarVentana(); }

void frmPrincipal::mnuSTIParar_Click() { cmdSalir_Click(); }

void frmPrincipal::mnuSTISalir_Click() {
    iconoBandeja_.quitar();
    close();
}

void frmPrincipal::mnuSalir_Click() { close(); }

// A fresh dialog at each opening; whichever way it closes, the main window
// then follows the settings in memory.
void frmPrincipal::mnuConfiguracion_Click() {
    {
        frmConfiguracion dialogo(plataforma_, configuracion_, lenguaje_);
        dialogo.load();
        plataforma_.forms.showModal(dialogo);
    }
    if (closed()) return;  // the program ended while the dialog was open
    AplicarConfiguracion();
}

void frmPrincipal::mnuLog_Click() { AbrirArchivo(plataforma_, rutaDelUsuario(kArchivoLog)); }
void frmPrincipal::mnuCaptura_Click() { AbrirArchivo(plataforma_, rutaDelUsuario(kArchivoCaptura)); }
void frmPrincipal::mnuContenido_Click() { AbrirAyuda(plataforma_, configuracion_.Lenguaje); }
void frmPrincipal::mnuDonativos_Click() { AbrirWebDelAutor(plataforma_); }
void frmPrincipal::mnuAcercade_Click() { MostrarAcercaDe(plataforma_, lenguaje_); }

// The schedule keeps running through the update: its network calls and the
// wait for the updater run aside while the window ticks. Ticks or the tray
// may act meanwhile, but a second update cannot start inside the first.
void frmPrincipal::mnuActualizar_Click() {
    if (actualizando_) return;
    actualizando_ = true;
    struct Fin {
        bool& actualizando;
        ~Fin() { actualizando = false; }
    } fin{actualizando_};
    plataforma_.forms.processPendingEvents();
    const ProgramInfo& programa = plataforma_.program;
    ActualizarPrograma({plataforma_.http, plataforma_.processes, plataforma_.messages, plataforma_.forms,
                        programa.userFolder(), programa.processId(), programa.updaterFileName(),
                        programa.executableFileName(), kUrlActualizacion, kUrlSonda, [this] { return !closed(); }},
                       kIniActualizacion);
}

}  // namespace durmivela
