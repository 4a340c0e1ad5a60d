// The typed controls of the form model.
#pragma once

#include "platform/Control.h"

#include <functional>
#include <string>
#include <vector>

namespace durmivela {

class Label : public Control {
public:
    Label(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::Label, std::move(name), container, geometry) {}
    // A link: the pointer turns into a pointing hand over it.
    bool pointingHand = false;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::Frame, std::move(name), container, geometry) {}
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::CommandButton, std::move(name), container, geometry) {}
    bool isDefault = false;  // Enter presses it
    bool isCancel = false;   // Escape presses it
};

// A straight line from (left, top) to (left + width, top + height), drawn in
// its fore colour.
class Line : public Control {
public:
    Line(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::Line, std::move(name), container, geometry) {}
    int widthPixels = 1;
};

// Editable text: text boxes hold their content in Text, not Caption.
class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::TextBox, std::move(name), container, geometry) {}
    const std::string& text() const { return text_; }
    void setText(std::string text);

private:
    std::string text_;
};

// A drop-down list of entries; ListIndex -1 means no entry is chosen.
class ComboBox : public Control {
public:
    ComboBox(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::ComboBox, std::move(name), container, geometry) {}
    const std::vector<std::string>& items() const { return items_; }
    void addItem(std::string item);
    int listIndex() const { return listIndex_; }
    // Choosing an entry also shows its text; -1 clears the choice.
    void setListIndex(int index);
    const std::string& text() const { return text_; }
    // A text equal to an entry chooses that entry; any other text clears the choice.
    void setText(std::string text);
    // The user picked an entry: the choice is written first, then Click runs.
    void userSelect(int index);

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

// Option buttons and check boxes share an integer Value (0 unticked, 1 ticked).
class ValueControl : public Control {
public:
    using Control::Control;
    int value() const { return value_; }
    void setValue(int value);

private:
    int value_ = 0;
};

// Option buttons of one container form a group: choosing one clears the others.
class OptionButton : public ValueControl {
public:
    OptionButton(Form& form, std::string name, Control* container, Twips geometry)
        : ValueControl(form, ControlKind::OptionButton, std::move(name), container, geometry) {}
    void choose();
    // The user clicked it: the chosen option changes nothing; another is chosen, then Click runs.
    void userChoose();
};

class CheckBox : public ValueControl {
public:
    CheckBox(Form& form, std::string name, Control* container, Twips geometry)
        : ValueControl(form, ControlKind::CheckBox, std::move(name), container, geometry) {}
};

// Holds a picture (the form's icon, when hasIcon) and receives mouse moves
// measured in pixels.
class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, Control* container, Twips geometry)
        : Control(form, ControlKind::PictureBox, std::move(name), container, geometry) {}
    bool hasIcon() const { return hasIcon_; }
    void setHasIcon(bool hasIcon) { hasIcon_ = hasIcon; }
    std::function<void(int button, int shift, int x, int y)> onMouseMove;
    void mouseMove(int button, int shift, int x, int y) {
        if (onMouseMove) onMouseMove(button, shift, x, y);
    }

private:
    bool hasIcon_ = false;
};

// A menu item: a top-level menu when its container is null, a separator when
// its caption is "-".
class MenuItem : public Control {
public:
    MenuItem(Form& form, std::string name, MenuItem* parent, std::string caption);
    MenuItem* parentMenu() const { return static_cast<MenuItem*>(container()); }
    bool isSeparator() const { return caption() == "-"; }
    // Bold default entry of a pop-up menu.
    bool isDefault = false;
};

// A periodic timer. The front end delivers ticks anchored to the moment the
// timer was enabled (see TickSchedule); tick() runs the handler.
class Timer : public Control {
public:
    Timer(Form& form, std::string name, int intervalMs, bool enabled);
    int interval() const { return interval_; }
    void setInterval(int ms);
    std::function<void()> onTimer;
    // Delivered by the front end; ignored while disabled or with interval 0.
    void tick();

private:
    int interval_;
};

}  // namespace durmivela
