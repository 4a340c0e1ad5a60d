#include "about/ComandosMenu.h"

#include "about/frmAbout.h"
#include "platform/DurableFile.h"
#include "scheduler/Version.h"
#include "settings/Configuracion.h"
#include "update/Direcciones.h"

namespace durmivela {
namespace {

// The help is written in Spanish and English only, so its own messages are too.
bool enEspanol(const std::string& lenguaje) { return lenguaje == Configuracion{}.Lenguaje; }

std::string textoAyudaAusente(const std::filesystem::path& chm, const std::filesystem::path& html, bool espanol) {
    const std::string rutaChm = utf8FromPath(chm), rutaHtml = utf8FromPath(html);
    std::string texto = espanol ? "No se puede mostrar la ayuda.\n\n" : "The help cannot be shown.\n\n";
    if (!ExisteArchivo(chm))
        texto += (espanol ? "Falta el archivo\n" : "This file is missing:\n") + rutaChm;
    else
        texto += (espanol ? "Ningún programa de este escritorio abre los archivos CHM como\n"
                          : "No program on this desktop opens CHM files such as\n") +
                 rutaChm;
    texto += (espanol ? "\n\nY tampoco está la ayuda en HTML:\n" : "\n\nNor is the HTML help there:\n") + rutaHtml;
    return texto;
}

}  // namespace

void AbrirArchivo(Plataforma& plataforma, const std::filesystem::path& archivo) {
    plataforma.shell.open(utf8FromPath(archivo));
}

std::filesystem::path PaginaAyudaHtml(const std::filesystem::path& datos, const std::string& lenguaje) {
    const bool espanol = enEspanol(lenguaje);
    return datos / kCarpetaAyudaHtml / (espanol ? "es" : "en") / (espanol ? "inicio.htm" : "start.htm");
}

void AbrirAyuda(Plataforma& plataforma, const std::string& lenguaje) {
    const std::filesystem::path datos = plataforma.program.dataFolder();
    const std::filesystem::path chm = datos / kArchivoAyuda;
    if (plataforma.shell.hasApplicationFor(chm)) return AbrirArchivo(plataforma, chm);
    const std::filesystem::path pagina = PaginaAyudaHtml(datos, lenguaje);
    if (ExisteArchivo(pagina)) return AbrirArchivo(plataforma, pagina);
    plataforma.messages.show(textoAyudaAusente(chm, pagina, enEspanol(lenguaje)), kTituloPrograma,
                             MessageIcon::Warning);
}

void AbrirWebDelAutor(Plataforma& plataforma) { plataforma.shell.open(kUrlWeb); }

void MostrarAcercaDe(Plataforma& plataforma, const TablaLenguaje& lenguaje) {
    frmAbout acercaDe(plataforma, lenguaje);
    acercaDe.load();
    plataforma.forms.showModal(acercaDe);
}

}  // namespace durmivela
