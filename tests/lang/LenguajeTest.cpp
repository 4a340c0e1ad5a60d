#include "lang/Lenguaje.h"
#include "platform/Cp1252.h"
#include "platform/DurableFile.h"
#include "platform/Form.h"
#include "tests/scheduler/ScheduleFixture.h"
#include "tests/util/TempDir.h"
#include "tests/util/TestFolder.h"

#include <gtest/gtest.h>

#include <climits>

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

// Every byte round-trips, the five Windows-1252 leaves undefined too (as the
// C1 controls of the same value, as the system does); what it cannot write
// becomes '?'.
TEST(Cp1252, EveryByteRoundTripsThroughUtf8AndTheRestIsMarked) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << byte;
    }
    EXPECT_EQ(cp1252ToUtf8("Espa\xF1ol \x80\x93\x94\x9F \x81"), "Español €“”Ÿ \xC2\x81");
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");  // truncated sequence
}

TEST(CargarLenguaje, ReplacesTheWholeTableOrLeavesItForAnUnusableFileOrName) {
    TempDir dir;
    dir.write("Leng/Grande.lng", numberedFile(52));
    dir.write("Leng/Justo.lng", numberedFile(17));
    dir.write("Leng/Corto.lng", numberedFile(16));
    dir.write("Leng/Vacio.lng", "");
    // Usable files behind refused names.
    for (const char* name : {"Con\tTab", "Русский", "a=b", "[x]"})
        dir.write(pathFromUtf8("Leng/" + std::string(name) + ".lng"), numberedFile(30));
    std::filesystem::create_directories(dir.path() / "Leng" / "Carpeta.lng");
    const std::vector<std::filesystem::path> leng{dir.path() / "Leng"};
    TablaLenguaje tabla;
    ASSERT_EQ(CargarLenguaje(tabla, leng, "Grande"), ResultadoCarga::Cargado);
    ASSERT_EQ(CargarLenguaje(tabla, leng, "Justo"), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.Textos.size(), 17u);
    EXPECT_EQ(tabla.UltimoTexto, 16);
    EXPECT_EQ(tabla.buscar(45), nullptr);
    EXPECT_EQ(CargarLenguaje(tabla, leng, "Corto"), ResultadoCarga::Incompleto);
    EXPECT_EQ(CargarLenguaje(tabla, leng, "Vacio"), ResultadoCarga::Incompleto);
    for (const char* name : {"Falta", "Carpeta", "../Leng/Justo", "..\\Leng\\Justo", "Con\tTab", "", "Русский",
                             "a=b", "[x]"})
        EXPECT_EQ(CargarLenguaje(tabla, leng, name), ResultadoCarga::NoLeido) << name;
    EXPECT_EQ(tabla.UltimoTexto, 16);
    EXPECT_EQ(tabla.L(0), "T17");
    // Name plus ".lng" must fit the 255 bytes of a file name.
    EXPECT_TRUE(nombreLenguajeValido(std::string(251, 'a')));
    EXPECT_FALSE(nombreLenguajeValido(std::string(252, 'a')));
    EXPECT_FALSE(nombreLenguajeValido("Eng\x7Flish"));
    // The settings file holds the name in Windows-1252 on a "Lenguaje=" line.
    for (const char* name : {"Français", "€uro", "Deutsch (Schweiz)", "Español"})
        EXPECT_TRUE(nombreLenguajeValido(name)) << name;
    for (const char* name : {"Ελληνικά", "x]", "\xC2\x81", "Espa\xF1ol", "\xEF\xBB\xBF" "English"})
        EXPECT_FALSE(nombreLenguajeValido(name)) << name;
    // On Windows a drive or stream separator leads out of Leng, and a device
    // name reads the device whatever the extension.
    for (const char* name : {"C:evil", "Espa\xC3\xB1ol:stream", "CON", "nul", "Aux ", "com1", "LPT9.x",
                             "COM\xC2\xB9", "conout$"})
        EXPECT_EQ(nombreLenguajeValido(name), !testing::kWindows) << name;
    for (const char* name : {"Conejo", "COM10", "LPT", "Nulo", "Console"}) EXPECT_TRUE(nombreLenguajeValido(name)) << name;
}

// Beyond a mebibyte a file is refused unread, as an unreadable one; a text is
// cut to 512 bytes of UTF-8 on a character boundary, which no window system
// refuses.
TEST(CargarLenguaje, RefusesAFileBeyondAMebibyteAndCutsTextsTo512Bytes) {
    const std::string records = numberedFile(52);
    const std::string file = "0,\"" + std::string(1048576 - records.size() - 6, '\xF1') + "\"\r\n" + records;
    ASSERT_EQ(file.size(), 1048576u);
    TempDir dir;
    dir.write("Leng/Justo.lng", file);
    dir.write("Leng/Grande.lng", file + " ");
    const std::vector<std::filesystem::path> leng{dir.path() / "Leng"};
    TablaLenguaje tabla;
    EXPECT_EQ(CargarLenguaje(tabla, leng, "Grande"), ResultadoCarga::NoLeido);
    EXPECT_TRUE(tabla.vacia());
    ASSERT_EQ(CargarLenguaje(tabla, leng, "Justo"), ResultadoCarga::Cargado);
    std::string enes;
    for (int i = 0; i < 254; ++i) enes += "ñ";
    EXPECT_EQ(tabla.buscar(0)->Texto, enes + "…");

    const auto records512 =
        leerRegistros("1," + std::string(512, 'a') + "\r\n2,\"" + std::string(513, 'a') + "\"\r\n");
    ASSERT_EQ(records512.size(), 2u);
    EXPECT_EQ(records512[0].Texto, std::string(512, 'a'));
    EXPECT_EQ(records512[1].Texto, std::string(509, 'a') + "…");
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
        "305x,\"no key\"\r\n"      // not a number as a whole: the same
        "-5,\"open\r\n"            // a quote left open ends at the line end
        "11,\"\"\r\n"              // an empty text is a text
        "12,\"\xF1\"\r\n"
        "13\r\n");                 // cut short at the end of the file: no record
    std::vector<std::pair<int, std::string>> read;  // no key: INT_MIN
    for (const auto& record : records) read.emplace_back(record.tieneClave ? record.Clave : INT_MIN, record.Texto);
    EXPECT_EQ(read, (std::vector<std::pair<int, std::string>>{{201, "HORA ACTUAL: "}, {7, "a, b "}, {8, "plain text"},
                                                             {9, "x"}, {10, "y"}, {INT_MIN, "too big"},
                                                             {INT_MIN, "no key"}, {INT_MIN, "no key"}, {-5, "open"},
                                                             {11, ""}, {12, "ñ"}}));
}

TEST(LanguageRecords, NeitherABrokenKeyNorATrailingBlankLineShiftsThePositionalTexts) {
    const std::string file = numberedFile(52);
    EXPECT_EQ(leerRegistros(file + "\r\n\r\n").size(), 52u);
    EXPECT_EQ(leerRegistros(file.substr(0, file.size() - 2)).size(), 52u);  // no final line end

    std::string broken = file;
    broken.replace(broken.find("\r\n40,") + 2, 2, "4O");  // letter O for zero, among the last 17
    broken.insert(0, "305x,\"wrong\"\r\n305,\"right\"\r\n");
    TablaLenguaje tabla;
    ASSERT_EQ(cargarTextos(tabla, broken), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.buscar(305)->Texto, "right");
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
// its order, so that the run-time texts counted from the end line up. And
// none is spoilt as editors tend to: saved as UTF-8 ("Ã©" for "é"), with bare
// line feeds, or under a name Durmivela.ini (Windows-1252) could not hold.
TEST(ShippedLanguages, HoldTheSpanishRecordsInTheirOrderInWindows1252WithCrLf) {
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
        const std::string bytes = testing::shippedLanguage(name.c_str());
        for (std::size_t at = 1; at < bytes.size(); ++at) {
            // A UTF-8 accent: a lead byte 0xC2-0xDF and a continuation byte.
            const auto lead = static_cast<unsigned char>(bytes[at - 1]), next = static_cast<unsigned char>(bytes[at]);
            ASSERT_FALSE(lead >= 0xC2 && lead < 0xE0 && (next & 0xC0) == 0x80) << name << " is UTF-8 at byte " << at;
            ASSERT_TRUE(next != '\n' || lead == '\r') << name << ": a bare line feed at byte " << at;
        }
        EXPECT_EQ(bytes.back(), '\n') << name;
        EXPECT_EQ(cp1252ToUtf8(utf8ToCp1252(name)), name);
    }
    // The built-in copy is the Spanish file itself.
    const TablaLenguaje integrado = lenguajeIntegrado();
    EXPECT_EQ(integrado.UltimoTexto, 54);
    EXPECT_EQ(integrado.buscar(205)->Texto, "Configuración del Apagado");
}

class LanguageInTheWindow : public testing::MainWindowTest {};

// The title armed at ACEPTAR and the refused-shutdown message included.
TEST_F(LanguageInTheWindow, NoTextReachesTheWindowWhole) {
    std::string english = testing::shippedLanguage("English");
    english.replace(english.find("904,\"Shutdown at\""), 18, "904,\"" + std::string(100000, 'x') + "\"");
    dir.write("Leng/English.lng", english);
    frmPrincipal& w = start(1, 4, "English");
    ASSERT_TRUE(fake.messages.shown.empty());
    for (auto& registro : lenguaje_.Textos)
        if (registro.Clave == 209) registro.Texto = std::string(100000, 'z');  // as if no loader had cut it
    fake.power.refuse = true;
    fake.clock.now = {21, 29, 59};
    w.txtHora.setText("21");
    w.txtMinuto.setText("30");
    w.cmdAceptar.click();
    EXPECT_EQ(w.caption(), std::string(509, 'x') + "… 21:30");
    tick();
    ASSERT_EQ(fake.power.shutdowns(), 1);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0], std::string(509, 'z') + "…\n\nOperation not permitted");
}

}  // namespace
}  // namespace durmivela
