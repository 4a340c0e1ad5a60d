#include "platform/AccessibleText.h"

namespace durmivela {

std::string readableCaption(const std::string& caption) {
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == '&') continue;
        text += caption[i];
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == ':')) text.pop_back();
    return text;
}

std::string accessibleName(const Control& control) {
    std::string name = readableCaption(control.labelledBy ? control.labelledBy->caption() : control.caption());
    // A label named by another shows a value (the clock, the system's name):
    // it reads as its heading and that value, as the value has no other way
    // to a screen reader.
    if (control.labelledBy && control.kind() == ControlKind::Label) {
        const std::string value = readableCaption(control.caption());
        if (!value.empty()) name = name.empty() ? value : name + ": " + value;
    }
    const std::string& detail = control.accessibleDetail();
    if (detail.empty()) return name;
    return name.empty() ? detail : name + " (" + detail + ")";
}

std::string accessibleDescription(const Control& control) {
    return control.describedBy ? readableCaption(control.describedBy->caption()) : std::string();
}

}  // namespace durmivela
