// What assistive technology (screen readers) is told of a control: its name
// and its description, both from the form model and the current language.
#pragma once

#include "platform/Control.h"

#include <string>

namespace durmivela {

// A caption as it reads: without its access-key markers ("&&" stays one
// ampersand), and without the blanks and colon that end a label's caption.
std::string readableCaption(const std::string& caption);

// The control's accessible name: its label's caption, with the detail in
// brackets where two controls share one label, and for a label the value it
// shows after a colon; otherwise its own caption.
std::string accessibleName(const Control& control);

// The caption of the control that describes it; empty when none does.
std::string accessibleDescription(const Control& control);

}  // namespace durmivela
