#include "platform/Form.h"

namespace durmivela {

Form::Form(std::string name, Twips clientSize) : name_(std::move(name)), clientSize_(clientSize) {}

void Form::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    formChanged(FormProperty::Caption);
}

void Form::setWindowState(WindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    formChanged(FormProperty::WindowState);
    if (onResize) onResize();
}

void Form::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    formChanged(FormProperty::Visible);
}

void Form::close() {
    if (closed_) return;
    if (onUnload) onUnload();
    closed_ = true;
    formChanged(FormProperty::Closed);
}

void Form::load() {
    if (onLoad) onLoad();
}

void Form::activate() {
    if (onActivate) onActivate();
}

void Form::controlChanged(Control& control, Property property) {
    if (!view_) return;
    view_->controlChanged(control, property);
    // A label's new caption is also the new name of the controls it names.
    if (property != Property::Caption) return;
    for (const auto& other : controls_)
        if (other->labelledBy == &control || other->describedBy == &control)
            view_->controlChanged(*other, Property::Accessibility);
}

void Form::formChanged(FormProperty property) {
    if (view_) view_->formChanged(property);
}

}  // namespace durmivela
