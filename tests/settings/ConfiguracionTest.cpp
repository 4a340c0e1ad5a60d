#include "settings/Configuracion.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

// What the file lacks, cannot be read or holds out of range keeps its default
// (1, 4, "Español"): a damaged file must never leave a setting at zero.
TEST(ConfigurationReader, FollowsTheFixedSectionOrderAndKeepsTheDefaultsForWhatCannotBeTaken) {
    struct Row { const char* name; std::string file; int tipo, log; const char* lenguaje; };
    const Row rows[] = {
        {"all three", "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n", 2, 3, "English"},
        {"sections out of order", "[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n[TIPO]\r\nTipo=2\r\n", 1, 4,
         "English"},
        {"lower-case name", "[TIPO]\r\ntipo=2\r\n", 1, 4, "Español"},
        {"second =", "[TIPO]\r\nTipo=2=3\r\n", 2, 4, "Español"},
        {"blank after =", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog= 3\r\n", 1, 3, "Español"},
        {"half to even down", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=2.5\r\n", 1, 2, "Español"},
        {"half to even up", "[TIPO]\r\nTipo=1.5\r\n", 2, 4, "Español"},
        {"CR alone ends a line", "[TIPO]\rTipo=2\r[LOG]\rLog=3\r", 2, 3, "Español"},
        {"LF inside the value", "[TIPO]\r\nTipo=\n2\r\n", 2, 4, "Español"},
        {"garbage", "\x01\xFF=\r\n==\r\n[TIPO]", 1, 4, "Español"},
        {"LF only", "[TIPO]\nTipo=2\n[LOG]\nLog=3\n[LENGUAJE]\nLenguaje=English\n", 1, 4, "Español"},
        {"one past the end", "[TIPO]\r\nTipo=3\r\n[LOG]\r\nLog=5\r\n", 1, 4, "Español"},
        {"zero", "[TIPO]\r\nTipo=0\r\n[LOG]\r\nLog=0\r\n", 1, 4, "Español"},
        {"sign and size", "[TIPO]\r\nTipo=-1\r\n[LOG]\r\nLog=1e400\r\n", 1, 4, "Español"},
        {"byte wrap", "[TIPO]\r\nTipo=258\r\n[LOG]\r\nLog=259\r\n", 1, 4, "Español"},
        {"empty language", "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=\r\n", 2, 1, "Español"},
    };
    for (const Row& row : rows) {
        Configuracion c;
        leerTextoConfiguracion(row.file, c);
        EXPECT_EQ(c.Tipo, row.tipo) << row.name;
        EXPECT_EQ(c.Log, row.log) << row.name;
        EXPECT_EQ(c.Lenguaje, row.lenguaje) << row.name;
    }
}

}  // namespace
}  // namespace durmivela
