// A control of the form model: the toolkit-free truth that a front end mirrors.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace durmivela {

class Form;

// Design geometry in twips (1/1440 inch), relative to the container.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour is either the toolkit's default for the control, the system's window
// colour (text-box background), or a fixed RGB value.
struct Colour {
    enum class Source { Default, Window, Fixed };
    Source source = Source::Default;
    Rgb rgb{};

    static Colour fixed(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {Source::Fixed, {r, g, b}}; }
    static Colour window() { return {Source::Window, {}}; }
};

struct Font {
    std::string face = "Verdana";
    double points = 8.25;
    bool bold = false;
};

enum class ControlKind {
    Label,
    TextBox,
    ComboBox,
    Frame,
    OptionButton,
    CheckBox,
    CommandButton,
    PictureBox,
    Line,
    Menu,
    Timer,
};

// The kind name the language application compares, letter case included.
std::string_view kindName(ControlKind kind);

enum class Property {
    Caption,
    Text,
    Tag,
    Visible,
    Enabled,
    ToolTipText,
    ListIndex,
    ListItems,
    Value,
    Interval,
    // The name or description that assistive technology reads changed (the
    // label or detail it comes from was re-texted).
    Accessibility,
};

enum class Alignment { Left, Centre };

class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, Control* container, Twips geometry);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    ControlKind kind() const { return kind_; }
    std::string_view kindName() const { return durmivela::kindName(kind_); }
    const std::string& name() const { return name_; }
    Control* container() const { return container_; }
    const Twips& geometry() const { return geometry_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    const std::string& toolTipText() const { return toolTip_; }
    void setToolTipText(std::string text);

    // Design appearance: set while the form is built, read by the front end.
    Alignment alignment = Alignment::Left;
    bool border = false;
    bool multiLine = false;
    Colour foreColour{};
    Colour backColour{};
    Font font{};
    int tabIndex = -1;

    // For assistive technology: the control whose caption names this one
    // (the label that stands before it in the design), and the one whose
    // caption describes it. Set while the form is built.
    Control* labelledBy = nullptr;
    Control* describedBy = nullptr;
    // A word that tells apart two controls named by one label (the hour and
    // the minute fields); it follows the language.
    const std::string& accessibleDetail() const { return accessibleDetail_; }
    void setAccessibleDetail(std::string detail);

    std::function<void()> onClick;
    // Runs onClick, if any; front ends call this after writing the user's change.
    void click();

protected:
    void changed(Property property);

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    Control* container_;
    Twips geometry_;
    std::string caption_;
    std::string tag_;
    std::string toolTip_;
    std::string accessibleDetail_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace durmivela
