// The About dialog: icon, title, version, description, the maker's link and
// notice, and a button that starts the system's information tool.
#pragma once

#include "lang/Lenguaje.h"
#include "platform/Form.h"
#include "platform/Services.h"

#include <cstdint>
#include <string>

namespace durmivela {

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;

// Reads a registry value as text: a trailing zero byte is dropped, type 1 is
// text, type 4 is "&h" and hexadecimal digits; other types leave `valor` as
// it was. False, with `valor` empty, when the value cannot be read.
bool GetKeyValue(const SystemInfo& sistema, std::uint32_t raiz, const std::string& clave,
                 const std::string& subclave, std::string& valor);

// Starts the system's information tool: from the registry where there is
// one, otherwise the first well-known tool on the search path; tells the
// user when there is none.
void StartSysInfo(Plataforma& plataforma);

class frmAbout : public Form {
public:
    frmAbout(Plataforma& plataforma, const TablaLenguaje& lenguaje);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblWeb_Click();

    // Controls, in the order of the dialog's control collection.
    PictureBox& picIcon = add<PictureBox>("picIcon", nullptr, Twips{240, 240, 510, 510});
    Label& lblTitle = add<Label>("lblTitle", nullptr, Twips{1080, 240, 2205, 360});
    Label& lblVersion = add<Label>("lblVersion", nullptr, Twips{1050, 780, 2205, 225});
    Label& lblDescription = add<Label>("lblDescription", nullptr, Twips{450, 1125, 2805, 810});
    Line& Line1_1 = add<Line>("Line1(1)", nullptr, Twips{120, 2220, 3510, 0});
    Line& Line1_0 = add<Line>("Line1(0)", nullptr, Twips{180, 2220, 3480, 0});
    Label& lblWeb = add<Label>("lblWeb", nullptr, Twips{120, 2400, 1815, 255});
    Label& lblCopy = add<Label>("lblCopy", nullptr, Twips{120, 2760, 1815, 255});
    CommandButton& cmdOK = add<CommandButton>("cmdOK", nullptr, Twips{2160, 2400, 1365, 345});
    CommandButton& cmdSysInfo = add<CommandButton>("cmdSysInfo", nullptr, Twips{2160, 2820, 1365, 345});

private:
    void disenar();

    Plataforma& plataforma_;
    const TablaLenguaje& lenguaje_;
};

}  // namespace durmivela
