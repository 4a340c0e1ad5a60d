#include "lang/Lenguaje.h"
#include "platform/Form.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

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
    Label& label(const char* tag, const char* caption = "design") {
        Label& l = add<Label>("lbl", nullptr, Twips{});
        l.setTag(tag);
        l.setCaption(caption);
        return l;
    }
    CommandButton& button(const char* tag) {
        CommandButton& b = add<CommandButton>("cmd", nullptr, Twips{});
        b.setTag(tag);
        b.setCaption("design");
        return b;
    }
    MenuItem& menu(const char* tag, const char* caption) {
        MenuItem& m = add<MenuItem>("mnu", nullptr, caption);
        m.setTag(tag);
        return m;
    }
    PictureBox& picture(const char* tag) {
        PictureBox& p = add<PictureBox>("pct", nullptr, Twips{});
        p.setTag(tag);
        return p;
    }
};

TEST(CargarLenguaje, ReplacesTheWholeTableOnEveryLoad) {
    TempDir dir;
    dir.write("Leng/Grande.lng", numberedFile(52));
    dir.write("Leng/Corto.lng", numberedFile(40));
    TablaLenguaje tabla;
    ASSERT_EQ(CargarLenguaje(tabla, dir.path(), "Grande"), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.UltimoTexto, 51);
    EXPECT_EQ(tabla.L(16), "T36");  // element 35
    EXPECT_EQ(tabla.L(0), "T52");
    ASSERT_EQ(CargarLenguaje(tabla, dir.path(), "Corto"), ResultadoCarga::Cargado);
    EXPECT_EQ(tabla.Textos.size(), 40u);
    EXPECT_EQ(tabla.UltimoTexto, 39);
    EXPECT_EQ(tabla.L(0), "T40");
    EXPECT_EQ(tabla.buscar(45), nullptr);
}

TEST(CargarLenguaje, AnUnusableFileOrNameLeavesTheCurrentTable) {
    TempDir dir;
    dir.write("Leng/Bueno.lng", numberedFile(20));
    dir.write("Leng/Justo.lng", numberedFile(17));
    dir.write("Leng/Corto.lng", numberedFile(16));
    dir.write("Leng/Vacio.lng", "");
    dir.write("Leng/Con\tTab.lng", numberedFile(30));  // a usable file behind a refused name
    std::filesystem::create_directories(dir.path() / "Leng" / "Carpeta.lng");
    TablaLenguaje tabla;
    ASSERT_EQ(CargarLenguaje(tabla, dir.path(), "Justo"), ResultadoCarga::Cargado);
    ASSERT_EQ(CargarLenguaje(tabla, dir.path(), "Bueno"), ResultadoCarga::Cargado);
    EXPECT_EQ(CargarLenguaje(tabla, dir.path(), "Corto"), ResultadoCarga::Incompleto);
    EXPECT_EQ(CargarLenguaje(tabla, dir.path(), "Vacio"), ResultadoCarga::Incompleto);
    for (const char* name : {"Falta", "Carpeta", "../Leng/Bueno", "..\\Leng\\Bueno", "Con\tTab", ""})
        EXPECT_EQ(CargarLenguaje(tabla, dir.path(), name), ResultadoCarga::NoLeido) << name;
    EXPECT_EQ(tabla.UltimoTexto, 19);
    EXPECT_EQ(tabla.L(0), "T20");
    // Name plus ".lng" must fit the 255 bytes of a file name.
    EXPECT_TRUE(nombreLenguajeValido(std::string(251, 'a')));
    EXPECT_FALSE(nombreLenguajeValido(std::string(252, 'a')));
    EXPECT_FALSE(nombreLenguajeValido("Eng\x7Flish"));
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
    Label& duplicate = form.label("204");
    Label& emptyTag = form.label("");
    Label& lettersTag = form.label("abc");
    Label& leadingZeros = form.label("0304");
    Label& labelWithSuffix = form.label("305x");
    CommandButton& zeroButton = form.button("0");
    CommandButton& lettersButton = form.button("abc");
    CommandButton& suffixButton = form.button("305x");
    MenuItem& menu = form.menu(" 101 ", "101");
    MenuItem& missing = form.menu("102", "102");
    PictureBox& picture = form.picture("7");
    AplicarLenguaje(form, tabla);
    EXPECT_EQ(duplicate.caption(), "primero");
    EXPECT_EQ(emptyTag.caption(), "design");
    EXPECT_EQ(lettersTag.caption(), "design");
    EXPECT_EQ(leadingZeros.caption(), "lenguaje");
    EXPECT_EQ(labelWithSuffix.caption(), "design");
    EXPECT_EQ(zeroButton.caption(), "design");
    EXPECT_EQ(lettersButton.caption(), "design");
    EXPECT_EQ(suffixButton.caption(), "opción");
    EXPECT_EQ(menu.caption(), "Archivo");
    EXPECT_EQ(missing.caption(), "102");
    EXPECT_EQ(picture.toolTipText(), "ayuda");
    EXPECT_EQ(picture.caption(), "");
}

TEST(ShippedLanguages, HoldEveryKeyAndTheRunTimeTexts) {
    const std::filesystem::path folder = std::filesystem::path(DURMIVELA_LANG_DIR).parent_path();
    for (const char* name : {"Español", "English"}) {
        TablaLenguaje tabla;
        ASSERT_EQ(CargarLenguaje(tabla, folder, name), ResultadoCarga::Cargado) << name;
        EXPECT_EQ(tabla.UltimoTexto, 51) << name;
        for (int key : {101, 113, 201, 208, 301, 311, 401, 403}) EXPECT_NE(tabla.buscar(key), nullptr) << key;
    }
    // The built-in copy is the Spanish file itself.
    const TablaLenguaje integrado = lenguajeIntegrado();
    EXPECT_EQ(integrado.UltimoTexto, 51);
    EXPECT_EQ(integrado.buscar(205)->Texto, "Configuración del Apagado");
}

}  // namespace
}  // namespace durmivela
