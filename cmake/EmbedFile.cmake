# Writes INPUT's bytes into OUTPUT as the built-in language file.
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE "${OUTPUT}"
"// Generated at build time from the Spanish language file.\n"
"#include \"lang/Lenguaje.h\"\n"
"namespace durmivela {\n"
"namespace {\n"
"const unsigned char kBytes[] = {${bytes}};\n"
"}\n"
"std::string_view archivoLenguajeIntegrado() {\n"
"    return {reinterpret_cast<const char*>(kBytes), ${size}};\n"
"}\n"
"}  // namespace durmivela\n")
