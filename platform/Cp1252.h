// Files on disk are Windows-1252 single-byte text; inside the program text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace durmivela {

std::string cp1252ToUtf8(std::string_view bytes);
// Characters outside Windows-1252 become '?'.
std::string utf8ToCp1252(std::string_view text);
// True when the text is UTF-8 whose every character has a Windows-1252 byte,
// so that it comes back unchanged from a file.
bool fitsCp1252(std::string_view text);

}  // namespace durmivela
