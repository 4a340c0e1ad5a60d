// File-derived text quoted in a message to the user.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace durmivela {

// At most `maximo` bytes of UTF-8 text, cut at a character boundary and marked
// with "…" when cut, so a damaged file cannot fill the screen with a message.
std::string citar(std::string_view texto, std::size_t maximo = 200);

}  // namespace durmivela
