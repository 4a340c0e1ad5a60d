#include "settings/Configuracion.h"
#include "tests/fake/FakePlatform.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

using testing::FakeFileAttributes;
using testing::TempDir;

const char* const kDefaultFile = "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=4\r\n[LENGUAJE]\r\nLenguaje=Espa\xF1ol\r\n";

Configuracion read(const std::string& bytes) {
    Configuracion c;
    leerTextoConfiguracion(bytes, c);
    return c;
}

TEST(LeerConfiguracion, CreatesTheDefaultFileByteForByteWhenMissing) {
    TempDir dir;
    FakeFileAttributes files;
    Configuracion c;
    ASSERT_TRUE(LeerConfiguracion(c, dir.path(), files).ok);
    EXPECT_EQ(dir.read(kArchivoConfiguracion), kDefaultFile);
    EXPECT_EQ(c.Tipo, 1);
    EXPECT_EQ(c.Log, 4);
    EXPECT_EQ(c.Lenguaje, "Español");
    EXPECT_EQ(textoConfiguracion(configuracionPredeterminada()), kDefaultFile);
}

TEST(LeerConfiguracion, AnExistingFileIsReadAndNotRewritten) {
    TempDir dir;
    FakeFileAttributes files;
    const std::string content = "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n";
    dir.write(kArchivoConfiguracion, content);
    Configuracion c;
    LeerConfiguracion(c, dir.path(), files);
    EXPECT_EQ(c.Tipo, 2);
    EXPECT_EQ(c.Log, 3);
    EXPECT_EQ(c.Lenguaje, "English");
    EXPECT_EQ(dir.read(kArchivoConfiguracion), content);
}

TEST(LeerConfiguracion, AHiddenFileOrAFolderDoesNotCountAsFound) {
    TempDir dir;
    FakeFileAttributes files;
    dir.write(kArchivoConfiguracion, "[TIPO]\r\nTipo=2\r\n");
    files.hidden.insert(dir.path() / kArchivoConfiguracion);
    EXPECT_FALSE(BuscarArchivo(dir.path() / kArchivoConfiguracion, files));
    files.hidden.clear();
    EXPECT_TRUE(BuscarArchivo(dir.path() / kArchivoConfiguracion, files));
    EXPECT_FALSE(BuscarArchivo(dir.path(), files));
}

TEST(LeerConfiguracion, AFailedDefaultWriteIsReportedAndTheDefaultsStayInForce) {
    TempDir dir;
    FakeFileAttributes files;
    Configuracion c;
    const WriteResult result = LeerConfiguracion(c, dir.path() / "missing-folder", files);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(c.Tipo, 1);
    EXPECT_EQ(c.Log, 4);
}

TEST(ConfigurationReader, FollowsTheFixedSectionOrderAndExactNames) {
    struct Row {
        const char* name;
        std::string file;
        int tipo;
        int log;
        const char* lenguaje;
    };
    const Row rows[] = {
        {"all three", "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n", 2, 3, "English"},
        {"sections out of order", "[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n[TIPO]\r\nTipo=2\r\n", 0, 0,
         "English"},
        {"lower-case name", "[TIPO]\r\ntipo=2\r\n", 0, 0, ""},
        {"blank before =", "[TIPO]\r\nTipo =2\r\n", 0, 0, ""},
        {"second =", "[TIPO]\r\nTipo=2=3\r\n", 2, 0, ""},
        {"blank after =", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog= 3\r\n", 1, 3, ""},
        {"blank inside", "[TIPO]\r\nTipo=1 2\r\n", 12, 0, ""},
        {"half to even down", "[TIPO]\r\nTipo=2.5\r\n", 2, 0, ""},
        {"half to even up", "[TIPO]\r\nTipo=3.5\r\n", 4, 0, ""},
        {"no number", "[TIPO]\r\nTipo=abc\r\n", 0, 0, ""},
        {"LF only", "[TIPO]\nTipo=2\n[LOG]\nLog=3\n", 0, 0, ""},
        {"CR alone ends a line", "[TIPO]\rTipo=2\r[LOG]\rLog=3\r", 2, 3, ""},
        {"no final line end", "[TIPO]\r\nTipo=2", 2, 0, ""},
        {"trailing blank kept", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=2\r\n[LENGUAJE]\r\nLenguaje=English \r\n", 1, 2,
         "English "},
        {"cp1252 name", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=2\r\n[LENGUAJE]\r\nLenguaje=Espa\xF1ol\r\n", 1, 2,
         "Español"},
        {"section header with blank", "[TIPO] \r\nTipo=2\r\n", 0, 0, ""},
        {"LF inside the value", "[TIPO]\r\nTipo=\n2\r\n", 2, 0, ""},
    };
    for (const Row& row : rows) {
        const Configuracion c = read(row.file);
        EXPECT_EQ(c.Tipo, row.tipo) << row.name;
        EXPECT_EQ(c.Log, row.log) << row.name;
        EXPECT_EQ(c.Lenguaje, row.lenguaje) << row.name;
    }
}

TEST(ConfigurationReader, KeepsTheCurrentValueForWhatCannotBeTaken) {
    const Configuracion before{2, 3, "English"};
    const std::pair<const char*, std::string> rows[] = {
        {"out of range", "[TIPO]\r\nTipo=256\r\n[LOG]\r\nLog=-1\r\n"},
        {"no =", "[TIPO]\r\nTipo\r\n[LOG]\r\nLog\r\n[LENGUAJE]\r\nLenguaje\r\n"},
        {"ends after a section line", "[TIPO]\r\n"},
        {"empty file", ""},
        {"huge number", "[TIPO]\r\nTipo=1e400\r\n"},
    };
    for (const auto& [name, file] : rows) {
        Configuracion c = before;
        leerTextoConfiguracion(file, c);
        EXPECT_EQ(c.Tipo, 2) << name;
        EXPECT_EQ(c.Log, 3) << name;
        EXPECT_EQ(c.Lenguaje, "English") << name;
    }
}

TEST(GuardarConfiguracion, RoundTripsThroughTheReader) {
    TempDir dir;
    FakeFileAttributes files;
    const Configuracion saved{2, 2, "Español"};
    ASSERT_TRUE(GuardarConfiguracion(saved, dir.path()).ok);
    EXPECT_EQ(dir.read(kArchivoConfiguracion),
              "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=2\r\n[LENGUAJE]\r\nLenguaje=Espa\xF1ol\r\n");
    Configuracion loaded;
    LeerConfiguracion(loaded, dir.path(), files);
    EXPECT_EQ(loaded.Tipo, saved.Tipo);
    EXPECT_EQ(loaded.Log, saved.Log);
    EXPECT_EQ(loaded.Lenguaje, saved.Lenguaje);
}

}  // namespace
}  // namespace durmivela
