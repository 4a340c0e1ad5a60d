#include "about/frmAbout.h"

#include "about/ComandosMenu.h"
#include "platform/Cp1252.h"
#include "scheduler/Version.h"
#include "settings/Configuracion.h"
#include "platform/DurableFile.h"
#include "update/Direcciones.h"

#include <cstdio>

namespace durmivela {

bool GetKeyValue(const SystemInfo& sistema, std::uint32_t raiz, const std::string& clave,
                 const std::string& subclave, std::string& valor) {
    RegistryValue leido;
    if (!sistema.registryValue(raiz, clave, subclave, leido)) {
        valor.clear();
        return false;
    }
    std::string bytes = std::move(leido.bytes);
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    if (leido.type == 1) {
        valor = cp1252ToUtf8(bytes);
    } else if (leido.type == 4) {
        std::uint32_t numero = 0;
        for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
            numero |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
        char hex[16];
        std::snprintf(hex, sizeof hex, "&h%X", static_cast<unsigned>(numero));
        valor = hex;
    }
    return true;
}

namespace {

bool arrancar(Plataforma& plataforma, const std::filesystem::path& programa) {
    ProcessStart inicio;
    inicio.program = programa;
    inicio.commandLine = "\"" + utf8FromPath(programa) + "\"";
    return plataforma.processes.start(inicio).pid != 0;
}

constexpr const char* kAutor = "Taller Durmivela";

// Information tools of the common Linux desktops, where no registry names one.
constexpr const char* kHerramientasConocidas[] = {"kinfocenter", "hardinfo2", "hardinfo", "xfce4-about",
                                                  "gnome-system-monitor"};

bool arrancarHerramienta(Plataforma& plataforma) {
    std::string ruta;
    if (GetKeyValue(plataforma.system, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", ruta))
        return arrancar(plataforma, pathFromUtf8(ruta));
    std::string carpeta;
    if (GetKeyValue(plataforma.system, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                    carpeta)) {
        const std::filesystem::path programa = pathFromUtf8(carpeta) / "MSINFO32.EXE";
        if (ExisteArchivo(programa)) return arrancar(plataforma, programa);
        return false;
    }
    for (const char* herramienta : kHerramientasConocidas) {
        const std::filesystem::path programa = plataforma.processes.findOnPath(herramienta);
        if (!programa.empty()) return arrancar(plataforma, programa);
    }
    return false;
}

}  // namespace

void StartSysInfo(Plataforma& plataforma) {
    if (!arrancarHerramienta(plataforma))
        plataforma.messages.show("System Information Is Unavailable At This Time", kTituloPrograma, MessageIcon::None);
}

frmAbout::frmAbout(Plataforma& plataforma, const TablaLenguaje& lenguaje)
    : Form("frmAbout", Twips{0, 0, 3735, 3285}), plataforma_(plataforma), lenguaje_(lenguaje) {
    disenar();
    onLoad = [this] { Form_Load(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
    lblWeb.onClick = [this] { lblWeb_Click(); };
}

void frmAbout::disenar() {
    const Colour verdeAzulado = Colour::fixed(0, 128, 128);
    setCaption("Acerca de MiApli");
    minimizeBox = false;
    picIcon.setHasIcon(true);
    lblTitle.setCaption("Título de la aplicación");
    lblTitle.font.points = 12;
    lblTitle.foreColour = verdeAzulado;
    lblVersion.setCaption("Versión");
    lblVersion.foreColour = verdeAzulado;
    lblDescription.setCaption(
        "Apaga el ordenador a la hora que usted elija o tras el tiempo que indique, y puede dejar antes un "
        "registro y una captura de la pantalla.");
    lblDescription.setTag("401");
    lblDescription.multiLine = true;
    Line1_1.foreColour = Colour::fixed(128, 128, 128);
    Line1_0.foreColour = Colour::fixed(255, 255, 255);
    Line1_0.widthPixels = 2;
    lblWeb.setCaption(kAutor);
    lblWeb.foreColour = Colour::fixed(0, 0, 255);
    lblWeb.pointingHand = true;
    lblWeb.setToolTipText(kUrlWeb);
    lblCopy.setCaption("© 2004-2026");
    lblCopy.font.bold = true;
    cmdOK.setCaption("Aceptar");
    cmdOK.setTag("402");
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;
    cmdOK.tabIndex = 0;
    cmdSysInfo.setCaption("&Información...");
    cmdSysInfo.setTag("403");
    cmdSysInfo.tabIndex = 1;
}

// The language comes first, so no language file can change the caption, the
// title or the version.
void frmAbout::Form_Load() {
    AplicarLenguaje(*this, lenguaje_);
    setCaption(std::string("Acerca de ") + kTituloPrograma);
    lblVersion.setCaption("Versión " + textoVersion());
    lblTitle.setCaption(kTituloPrograma);
}

void frmAbout::cmdOK_Click() { close(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(plataforma_); }

void frmAbout::lblWeb_Click() { AbrirWebDelAutor(plataforma_); }

}  // namespace durmivela
