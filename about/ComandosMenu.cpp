#include "about/ComandosMenu.h"

#include "about/frmAbout.h"
#include "platform/DurableFile.h"
#include "update/Direcciones.h"

namespace durmivela {

void AbrirArchivo(Plataforma& plataforma, const std::filesystem::path& archivo) {
    plataforma.shell.open(utf8FromPath(archivo));
}

void AbrirWebDelAutor(Plataforma& plataforma) { plataforma.shell.open(kUrlWeb); }

void MostrarAcercaDe(Plataforma& plataforma, const TablaLenguaje& lenguaje) {
    frmAbout acercaDe(plataforma, lenguaje);
    acercaDe.load();
    plataforma.forms.showModal(acercaDe);
}

}  // namespace durmivela
