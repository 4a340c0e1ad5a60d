// File-derived text shown to the user.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace durmivela {

// The longest text the program takes from a language file: far more than any
// caption, title or message needs, far less than a window system refuses.
inline constexpr std::size_t kTextoMaximo = 512;

// At most `maximo` bytes of UTF-8 text, cut at a character boundary and ended
// with "…" when cut, so a damaged file can neither fill the screen nor reach
// the window system's own limits.
std::string citar(std::string_view texto, std::size_t maximo = 200);

}  // namespace durmivela
