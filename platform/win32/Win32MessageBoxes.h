// Message boxes of the system, over the thread's active window.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

class Win32MessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

}  // namespace durmivela::win32
