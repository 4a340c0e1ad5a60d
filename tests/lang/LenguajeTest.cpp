#include "lang/Lenguaje.h"
#include "platform/Cp1252.h"
#include "platform/DurableFile.h"
#include "platform/Form.h"
#include "tests/util/TempDir.h"
#include "tests/util/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string_view>

namespace durmivela {
namespace {

using testing::TempDir;

// A file of `count` records, keys 1..count, texts "T<key>".
std::string numberedFile(int count) {
    std::string file;
    for (int key = 1; key <= count; ++key) file += std::to_string(key) + ",\"T" + std::to_string(key) + "\"\r\n";
    return file;
}

class TestForm : public Form {
public:
    TestForm() : Form("frmPrueba", Twips{0, 0, 1000, 1000}) {}
    // A control of kind T with the given tag and the caption "design".
    template <class T>
    Control& tagged(const char* tag) {
        Control* control;
        if constexpr (std::is_same_v<T, MenuItem>)
            control = &add<MenuItem>("mnu", nullptr, "");
        else
            control = &add<T>("ctl", nullptr, Twips{});
        control->setTag(tag);
        control->setCaption("design");
        return *control;
    }
};

// Each load replaces the whole table; an unusable file or name leaves it as it was.
TEST(CargarLenguaje, ReplacesTheWholeTableOrLeavesItForAnUnusableFileOrName) {
    TempDir dir;
    dir.write("Leng/Grande.lng", numberedFile(52));
    dir.write("Leng/Justo.lng", numberedFile(17));
    dir.write("Leng/Corto.lng", numberedFile(16));
    dir.write("Leng/Vacio.lng", "");
    dir.write("Leng/Con\tTab.lng", numberedFile(30));  // a usable file behind a refused name
    std::filesystem::create_directories(dir.path() / "Leng" / "Carpeta.lng");
    const std::vector<std::filesystem::path> leng{dir.path() / "Leng"};
    TablaLenguaje tabla;
    ASSERT_EQ(CargarLenguaje(tabla, leng, "Grande"), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.L(16), "T36");  // element 35
    ASSERT_EQ(CargarLenguaje(tabla, leng, "Justo"), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.Textos.size(), 17u);
    EXPECT_EQ(tabla.UltimoTexto, 16);
    EXPECT_EQ(tabla.buscar(45), nullptr);
    EXPECT_EQ(CargarLenguaje(tabla, leng, "Corto"), ResultadoCarga::Incompleto);
    EXPECT_EQ(CargarLenguaje(tabla, leng, "Vacio"), ResultadoCarga::Incompleto);
    for (const char* name : {"Falta", "Carpeta", "../Leng/Grande", "..\\Leng\\Grande", "Con\tTab", ""})
        EXPECT_EQ(CargarLenguaje(tabla, leng, name), ResultadoCarga::NoLeido) << name;
    EXPECT_EQ(tabla.UltimoTexto, 16);
    EXPECT_EQ(tabla.L(0), "T17");
    // Name plus ".lng" must fit the 255 bytes of a file name.
    EXPECT_TRUE(nombreLenguajeValido(std::string(251, 'a')));
    EXPECT_FALSE(nombreLenguajeValido(std::string(252, 'a')));
    EXPECT_FALSE(nombreLenguajeValido("Eng\x7Flish"));
}

// On Windows a drive or stream separator leads out of Leng, and a device name
// reads the device whatever the extension.
TEST(LanguageFiles, WindowsNamesLeadingOutOfLengAreRefused) {
#ifdef _WIN32
    constexpr bool kWindows = true;
#else
    constexpr bool kWindows = false;
#endif
    for (const char* name : {"C:evil", "Espa\xC3\xB1ol:stream", "CON", "nul", "Aux ", "com1", "LPT9.x",
                             "COM\xC2\xB9", "conout$"})
        EXPECT_EQ(nombreLenguajeValido(name), !kWindows) << name;
    for (const char* name : {"Conejo", "COM10", "LPT", "Nulo", "Console"}) EXPECT_TRUE(nombreLenguajeValido(name)) << name;

    // "C:evil" is evil.lng in the current folder of drive C:, when the
    // program lives on another drive (under Wine, Z:).
    TempDir dir;
    const std::filesystem::path programa = durmivela::testing::testProgramFolder();
    if (!kWindows || programa.root_name() == dir.path().root_name()) return;
    dir.write("evil.lng", "1,x\r\n");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    TablaLenguaje tabla;
    EXPECT_EQ(CargarLenguaje(tabla, {programa / "Leng"}, dir.path().root_name().string() + "evil"), ResultadoCarga::NoLeido);
    std::filesystem::current_path(previous);
}

TEST(LanguageRecords, FollowTheFieldGrammar) {
    const auto records = leerRegistros(
        "201,\"HORA ACTUAL: \"\r\n"
        "  7 , \"a, b \"\r\n"      // quoted: comma and trailing blank kept
        "8,  plain text  \r\n"     // unquoted: from the first non-blank to the line end
        "\r\n   \r\n"              // blank lines create no record
        "9,\"x\",10,\"y\"\r\n"     // two records on one line
        "70000,\"too big\"\r\n"    // key outside 16 bits: keeps its place, no key
        "abc,\"no key\"\r\n"       // not a number: the same
        "-5,\"open\r\n"            // a quote left open ends at the line end
        "11,\"\"\r\n"              // an empty text is a text
        "12,\"\xF1\"\r\n"
        "13\r\n");                 // cut short at the end of the file: no record
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[0].Clave, 201);
    EXPECT_EQ(records[0].Texto, "HORA ACTUAL: ");
    EXPECT_EQ(records[1].Texto, "a, b ");
    EXPECT_EQ(records[2].Texto, "plain text");
    EXPECT_EQ(records[3].Clave, 9);
    EXPECT_EQ(records[4].Clave, 10);
    EXPECT_FALSE(records[5].tieneClave);
    EXPECT_EQ(records[5].Texto, "too big");
    EXPECT_FALSE(records[6].tieneClave);
    EXPECT_EQ(records[7].Clave, -5);
    EXPECT_EQ(records[7].Texto, "open");
    EXPECT_EQ(records[8].Texto, "");
    EXPECT_EQ(records[9].Texto, "ñ");
}

TEST(LanguageRecords, NeitherABrokenKeyNorATrailingBlankLineShiftsThePositionalTexts) {
    const std::string file = numberedFile(52);
    EXPECT_EQ(leerRegistros(file + "\r\n\r\n").size(), 52u);
    EXPECT_EQ(leerRegistros(file.substr(0, file.size() - 2)).size(), 52u);  // no final line end

    std::string broken = file;
    broken.replace(broken.find("\r\n40,") + 2, 2, "4O");  // letter O for zero, among the last 17
    TablaLenguaje tabla;
    ASSERT_EQ(cargarTextos(tabla, broken), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.L(12), "T40");
    EXPECT_EQ(tabla.L(11), "T41");
    EXPECT_EQ(tabla.buscar(40), nullptr);
    EXPECT_EQ(tabla.buscar(0), nullptr);  // a broken key is not key 0 either
}

TEST(AplicarLenguaje, MatchesKeysByKindName) {
    TablaLenguaje tabla;
    tabla.Textos = {{204, "primero"}, {204, "segundo"}, {305, "opción"}, {304, "lenguaje"}, {101, "Archivo"},
                    {0, "cero"},      {7, "ayuda"}};
    tabla.UltimoTexto = static_cast<std::int16_t>(tabla.Textos.size() - 1);
    TestForm form;
    Control& picture = form.tagged<PictureBox>("7");  // the text is its tooltip
    const std::pair<Control*, const char*> rows[] = {
        {&form.tagged<Label>("204"), "primero"},      {&form.tagged<Label>(""), "design"},
        {&form.tagged<Label>("abc"), "design"},       {&form.tagged<Label>("0304"), "lenguaje"},
        {&form.tagged<Label>("305x"), "design"},      {&form.tagged<CommandButton>("0"), "design"},
        {&form.tagged<CommandButton>("abc"), "design"}, {&form.tagged<CommandButton>("305x"), "opción"},
        {&form.tagged<MenuItem>(" 101 "), "Archivo"}, {&form.tagged<MenuItem>("102"), "design"},
        {&picture, "design"},
    };
    AplicarLenguaje(form, tabla);
    for (const auto& [control, caption] : rows) EXPECT_EQ(control->caption(), caption) << control->tag();
    EXPECT_EQ(picture.toolTipText(), "ayuda");
}

// Every shipped language has the Spanish file's records, key for key and in
// its order, so that the run-time texts counted from the end line up.
TEST(ShippedLanguages, HoldTheSpanishRecordsInTheirOrder) {
    const std::filesystem::path folder = durmivela::testing::testProgramFolder() / "Leng";
    TablaLenguaje espanol;
    ASSERT_EQ(CargarLenguaje(espanol, {folder}, "Español"), ResultadoCarga::Cargado);
    EXPECT_EQ(espanol.UltimoTexto, 54);
    for (const std::string& name : durmivela::testing::shippedLanguages()) {
        TablaLenguaje tabla;
        ASSERT_EQ(CargarLenguaje(tabla, {folder}, name), ResultadoCarga::Cargado) << name;
        ASSERT_EQ(tabla.Textos.size(), espanol.Textos.size()) << name;
        for (std::size_t i = 0; i < tabla.Textos.size(); ++i) {
            EXPECT_TRUE(tabla.Textos[i].tieneClave && tabla.Textos[i].Clave == espanol.Textos[i].Clave) << name << " #" << i;
            EXPECT_FALSE(tabla.Textos[i].Texto.empty()) << name << " #" << i;
        }
    }
    // The built-in copy is the Spanish file itself.
    const TablaLenguaje integrado = lenguajeIntegrado();
    EXPECT_EQ(integrado.UltimoTexto, 54);
    EXPECT_EQ(integrado.buscar(205)->Texto, "Configuración del Apagado");
}

// Whether the bytes read as UTF-8 as a whole.
bool esUtf8(std::string_view bytes) {
    int pendientes = 0;  // continuation bytes still owed
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (pendientes > 0) {
            if ((b & 0xC0) != 0x80) return false;
            --pendientes;
        } else if (b >= 0xC2 && b < 0xE0) {
            pendientes = 1;
        } else if (b >= 0xE0 && b < 0xF0) {
            pendientes = 2;
        } else if (b >= 0xF0 && b < 0xF5) {
            pendientes = 3;
        } else if (b >= 0x80) {
            return false;
        }
    }
    return pendientes == 0;
}

// The files as editors tend to spoil them: saved as UTF-8 (every accent would
// read as two characters, "Ã©" for "é") or with bare line feeds; and a name
// that Windows-1252 cannot write could not be chosen in Durmivela.ini.
TEST(ShippedLanguages, AreWindows1252TextWithCrLfUnderWindows1252Names) {
    for (const std::string& name : durmivela::testing::shippedLanguages()) {
        std::ifstream in(durmivela::testing::testProgramFolder() / "Leng" / pathFromUtf8(name + ".lng"),
                         std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(bytes.empty()) << name;
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
        EXPECT_TRUE(ascii || !esUtf8(bytes)) << name << " is UTF-8";
        for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << name << ": a bare line feed at byte " << at;
        EXPECT_EQ(bytes.back(), '\n') << name;
        EXPECT_EQ(cp1252ToUtf8(utf8ToCp1252(name)), name);
    }
}

}  // namespace
}  // namespace durmivela
