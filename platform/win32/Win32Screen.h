// The primary screen read through GDI.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

// A copy of the desktop window's device context into a compatible bitmap,
// read back as 32-bit pixels. On a 256-colour screen the system palette is
// realised in the copy, so palette indices come back as the colours shown.
class Win32Screen final : public Screen {
public:
    bool capturePrimary(Image& image) override;
};

}  // namespace durmivela::win32
