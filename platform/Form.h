// A window of the form model: an ordered collection of controls, the window's
// own properties and its events. A front end attached as FormView mirrors it.
#pragma once

#include "platform/Control.h"
#include "platform/Controls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace durmivela {

enum class WindowState { Normal, Minimized };

enum class FormProperty { Caption, WindowState, Visible, Closed };

// Implemented by a front end; told of every change so it can mirror it at once.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void controlChanged(Control& control, Property property) = 0;
    virtual void formChanged(FormProperty property) = 0;
    // Shows the menu's items as a pop-up at the pointer; returns when it closes.
    virtual void popupMenu(MenuItem& menu) { (void)menu; }
};

class Form {
public:
    Form(std::string name, Twips clientSize);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    // Client area in twips (width and height; left and top unused).
    const Twips& clientSize() const { return clientSize_; }
    Font font{};
    bool minimizeBox = true;
    bool maximizeBox = false;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    WindowState windowState() const { return windowState_; }
    // Changing the state raises Resize, as the window system does.
    void setWindowState(WindowState state);
    bool visible() const { return visible_; }
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool closed() const { return closed_; }
    // Unloads the window: Unload runs first, then the front end closes it.
    void close();

    // The controls in collection order (the order they were added).
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    std::function<void()> onLoad;
    std::function<void()> onActivate;
    std::function<void()> onResize;
    std::function<void()> onUnload;
    void load();
    void activate();
    void popupMenu(MenuItem& menu) {
        if (view_) view_->popupMenu(menu);
    }

    void attach(FormView* view) { view_ = view; }
    FormView* view() const { return view_; }
    void controlChanged(Control& control, Property property);

protected:
    template <class T, class... Args>
    T& add(Args&&... args) {
        auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *control;
        controls_.push_back(std::move(control));
        return ref;
    }

private:
    void setVisible(bool visible);
    void formChanged(FormProperty property);

    std::string name_;
    Twips clientSize_;
    std::string caption_;
    WindowState windowState_ = WindowState::Normal;
    bool visible_ = false;
    bool closed_ = false;
    std::vector<std::unique_ptr<Control>> controls_;
    FormView* view_ = nullptr;
};

}  // namespace durmivela
