#include "scheduler/frmPrincipal.h"

#include "scheduler/Version.h"

#include <system_error>

namespace durmivela {

bool ExisteArchivo(const std::filesystem::path& ruta) {
    std::error_code error;
    (void)std::filesystem::file_size(ruta, error);
    return !error;
}

frmPrincipal::frmPrincipal(Plataforma& plataforma, Configuracion& configuracion, TablaLenguaje& lenguaje)
    : Form("frmPrincipal", Twips{0, 0, 4680, 3945}),
      plataforma_(plataforma),
      configuracion_(configuracion),
      lenguaje_(lenguaje) {
    disenar();
    onLoad = [this] { Form_Load(); };
    onActivate = [this] { Form_Activate(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
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

    const std::pair<Control*, int> orden[] = {
        {&lblTituloHoraAct, 0}, {&txtHora, 1},      {&txtMinuto, 2},   {&lblHoraActual, 3},
        {&fmeConf, 4},          {&lblApagar, 5},    {&cmbApagar, 6},   {&lblTituloHoraApa, 7},
        {&lblHoraApa, 8},       {&cmdAceptar, 9},   {&cmdSalir, 10},   {&lblAprox, 11},
        {&fmeInformacion, 12},  {&lblAviso, 13},    {&lblApagarA, 14}, {&lblDosPuntos, 15},
        {&pctSysTrayIcon, 16},
    };
    for (const auto& [control, indice] : orden) control->tabIndex = indice;
}

std::filesystem::path frmPrincipal::rutaEnPrograma(const char* nombre) const {
    return plataforma_.program.folder() / nombre;
}

void frmPrincipal::Form_Load() {
    setCaption(tituloEstandar());
    Timer1_Timer();

    const WriteResult escrito =
        LeerConfiguracion(configuracion_, plataforma_.program.folder(), plataforma_.files);
    if (!escrito.ok)
        plataforma_.messages.show("No se pudo crear el archivo de configuración\n" +
                                      rutaEnPrograma(kArchivoConfiguracion).string() + "\n\n" + escrito.reason,
                                  kTituloPrograma);

    EtiquetarMenus();
    AplicarConfiguracion();
    mnuLog.setEnabled(ExisteArchivo(rutaEnPrograma(kArchivoLog)));
    mnuCaptura.setEnabled(ExisteArchivo(rutaEnPrograma(kArchivoCaptura)));
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
    const ResultadoCarga carga =
        CargarLenguaje(lenguaje_, plataforma_.program.folder(), configuracion_.Lenguaje);
    if (carga != ResultadoCarga::Cargado) {
        if (lenguaje_.vacia()) lenguaje_ = lenguajeIntegrado();
        if (lenguajesInformados_.insert(configuracion_.Lenguaje).second) {
            const std::string ruta = rutaLenguaje(plataforma_.program.folder(), configuracion_.Lenguaje).string();
            plataforma_.messages.show(
                (carga == ResultadoCarga::NoLeido ? "No se pudo leer el archivo de idioma\n"
                                                  : "El archivo de idioma está incompleto\n") +
                    ruta + "\n\nSe siguen usando los textos anteriores.",
                kTituloPrograma);
        }
    }
    AplicarLenguaje(*this, lenguaje_);

    const int tipo = configuracion_.Tipo;
    if (tipo != 1 && tipo != 2) return;
    const bool hora = tipo == 1;
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
}

void frmPrincipal::Timer1_Timer() {
    const Clock& reloj = plataforma_.clock;
    lblHoraActual.setCaption(reloj.longTimeFormat(reloj.timeOfDay()));
}

}  // namespace durmivela
