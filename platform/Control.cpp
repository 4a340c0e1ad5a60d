#include "platform/Control.h"

#include "platform/Controls.h"
#include "platform/Form.h"

namespace durmivela {

std::string_view kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "Label";
        case ControlKind::TextBox: return "TextBox";
        case ControlKind::ComboBox: return "ComboBox";
        case ControlKind::Frame: return "Frame";
        case ControlKind::OptionButton: return "OptionButton";
        case ControlKind::CheckBox: return "CheckBox";
        case ControlKind::CommandButton: return "CommandButton";
        case ControlKind::PictureBox: return "PictureBox";
        case ControlKind::Line: return "Line";
        case ControlKind::Menu: return "Menu";
        case ControlKind::Timer: return "Timer";
    }
    return "";
}

Control::Control(Form& form, ControlKind kind, std::string name, Control* container, Twips geometry)
    : form_(form), kind_(kind), name_(std::move(name)), container_(container), geometry_(geometry) {}

void Control::changed(Property property) { form_.controlChanged(*this, property); }

void Control::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void Control::setTag(std::string tag) {
    if (tag == tag_) return;
    tag_ = std::move(tag);
    changed(Property::Tag);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    changed(Property::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    changed(Property::Enabled);
}

void Control::setToolTipText(std::string text) {
    if (text == toolTip_) return;
    toolTip_ = std::move(text);
    changed(Property::ToolTipText);
}

void Control::setAccessibleDetail(std::string detail) {
    if (detail == accessibleDetail_) return;
    accessibleDetail_ = std::move(detail);
    changed(Property::Accessibility);
}

void Control::click() {
    if (onClick) onClick();
}

void TextBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    changed(Property::Text);
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    changed(Property::ListItems);
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) return;
    const bool indexChanged = index != listIndex_;
    listIndex_ = index;
    std::string text = index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string();
    const bool textChanged = text != text_;
    text_ = std::move(text);
    if (indexChanged) changed(Property::ListIndex);
    if (textChanged) changed(Property::Text);
}

void ComboBox::setText(std::string text) {
    int index = -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) {
            index = static_cast<int>(i);
            break;
        }
    const bool indexChanged = index != listIndex_;
    const bool textChanged = text != text_;
    listIndex_ = index;
    text_ = std::move(text);
    if (indexChanged) changed(Property::ListIndex);
    if (textChanged) changed(Property::Text);
}

void ComboBox::userSelect(int index) {
    setListIndex(index);
    click();
}

void ValueControl::setValue(int value) {
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
}

void OptionButton::choose() {
    for (const auto& other : form().controls())
        if (other->kind() == ControlKind::OptionButton && other.get() != this && other->container() == container())
            static_cast<OptionButton&>(*other).setValue(0);
    setValue(1);
}

void OptionButton::userChoose() {
    if (value() != 0) return;
    choose();
    click();
}

MenuItem::MenuItem(Form& form, std::string name, MenuItem* parent, std::string caption)
    : Control(form, ControlKind::Menu, std::move(name), parent, Twips{}) {
    setCaption(std::move(caption));
}

Timer::Timer(Form& form, std::string name, int intervalMs, bool enabled)
    : Control(form, ControlKind::Timer, std::move(name), nullptr, Twips{}), interval_(intervalMs) {
    setEnabled(enabled);
}

void Timer::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    changed(Property::Interval);
}

void Timer::tick() {
    if (enabled() && interval_ > 0 && onTimer) onTimer();
}

}  // namespace durmivela
