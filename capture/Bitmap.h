// Uncompressed 24-bit Windows bitmap files, written the same way by every front end.
#pragma once

#include "platform/Services.h"

#include <string>

namespace durmivela {

// The BMP file of the image: BITMAPFILEHEADER, BITMAPINFOHEADER, then bottom-up
// rows of blue, green, red bytes, each row padded to a multiple of 4 bytes.
std::string bitmapBytes(const Image& image);

}  // namespace durmivela
