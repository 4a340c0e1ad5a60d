// Durmivela on Windows: the program's main window on pure Win32.
#include "lang/Lenguaje.h"
#include "platform/win32/Win32FormHost.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32NotificationArea.h"
#include "platform/win32/Win32Power.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Screen.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WinInetHttp.h"
#include "scheduler/frmPrincipal.h"
#include "settings/Configuracion.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    durmivela::win32::Win32Clock clock;
    durmivela::win32::Win32ProgramInfo program;
    durmivela::win32::Win32MessageBoxes messages;
    durmivela::win32::Win32FileAttributes files;
    durmivela::win32::Win32Power power;
    durmivela::win32::Win32Screen screen;
    durmivela::win32::Win32NotificationArea tray;
    durmivela::win32::Win32Shell shell;
    durmivela::win32::Win32SystemInfo system;
    durmivela::win32::Win32Processes processes;
    durmivela::win32::WinInetHttp http;
    durmivela::win32::Win32FormHost forms(clock);
    durmivela::Plataforma plataforma{clock,  program, messages,  files, power, screen,
                                     tray,   shell,   system,    processes, http,  forms};
    durmivela::Configuracion configuracion;
    durmivela::TablaLenguaje lenguaje;

    durmivela::frmPrincipal ventana(plataforma, configuracion, lenguaje);
    tray.setReceiver(&ventana.pctSysTrayIcon);
    ventana.Form_Load();
    if (ventana.closed()) return 0;

    durmivela::win32::Win32FormWindow window(ventana, clock);
    window.onClosed = [] { PostQuitMessage(0); };
    ventana.show();
    return durmivela::win32::runMessageLoop();
}
