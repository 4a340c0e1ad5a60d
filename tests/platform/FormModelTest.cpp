#include "platform/Form.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace durmivela {
namespace {

class GroupForm : public Form {
public:
    GroupForm() : Form("frmGrupos", Twips{0, 0, 1000, 1000}) {
        for (const char* item : {"5 Min", "10 Min", "5 Min"}) combo.addItem(item);
    }
    Frame& left = add<Frame>("fmeA", nullptr, Twips{});
    OptionButton& a1 = add<OptionButton>("opbA1", &left, Twips{});
    OptionButton& a2 = add<OptionButton>("opbA2", &left, Twips{});
    OptionButton& b1 = add<OptionButton>("opbB1", nullptr, Twips{});
    ComboBox& combo = add<ComboBox>("cmb", nullptr, Twips{});
    TextBox& text = add<TextBox>("txt", nullptr, Twips{});
    Timer& timer = add<Timer>("tmr", 500, true);
};

class CountingView : public FormView {
public:
    int told = 0;
    void controlChanged(Control&, Property) override { ++told; }
    void formChanged(FormProperty) override { ++told; }
};

TEST(FormModel, OptionButtonsOfOneContainerFormAGroup) {
    GroupForm form;
    int clicks = 0;
    form.a2.onClick = [&clicks] { ++clicks; };
    form.b1.setValue(1);
    form.a1.setValue(1);
    form.a2.userChoose();
    EXPECT_EQ(form.a1.value(), 0);
    EXPECT_EQ(form.a2.value(), 1);
    EXPECT_EQ(form.b1.value(), 1);  // another container, another group
    form.a2.userChoose();           // the chosen option: nothing happens
    EXPECT_EQ(clicks, 1);
}

// A re-texted label renames the controls it names, so a screen reader
// follows a change of language.
TEST(FormModel, ANewLabelCaptionRenamesTheControlsItNames) {
    struct Recorder : FormView {
        std::vector<std::pair<const Control*, Property>> told;
        void controlChanged(Control& control, Property property) override { told.emplace_back(&control, property); }
        void formChanged(FormProperty) override {}
    } view;
    GroupForm form;
    form.text.labelledBy = &form.left;
    form.combo.describedBy = &form.left;
    form.attach(&view);
    form.left.setCaption("Hora");
    form.text.setAccessibleDetail("minuto");
    const std::vector<std::pair<const Control*, Property>> expected{
        {&form.left, Property::Caption},
        {&form.combo, Property::Accessibility},
        {&form.text, Property::Accessibility},
        {&form.text, Property::Accessibility}};
    EXPECT_EQ(view.told, expected);
}

TEST(FormModel, AComboTextChoosesTheMatchingEntryOrNone) {
    GroupForm form;
    int clicks = 0;
    form.combo.onClick = [&clicks] { ++clicks; };
    form.combo.setText("5 Min");
    EXPECT_EQ(form.combo.listIndex(), 0);  // the first match
    form.combo.setText("");
    EXPECT_EQ(form.combo.listIndex(), -1);
    form.combo.userSelect(1);
    EXPECT_EQ(form.combo.text(), "10 Min");
    EXPECT_EQ(clicks, 1);
    form.combo.setListIndex(7);  // out of range: ignored
    EXPECT_EQ(form.combo.listIndex(), 1);
}

// A timer that sets a caption to what it already shows must cost the front
// end nothing: the view hears of a property only when its value changes.
TEST(FormModel, TheViewIsToldOnlyOfRealChanges) {
    const std::vector<std::pair<const char*, std::function<void(GroupForm&)>>> setters = {
        {"Caption", [](GroupForm& f) { f.a1.setCaption("9:05:03"); }},
        {"Tag", [](GroupForm& f) { f.a1.setTag("201"); }},
        {"Visible", [](GroupForm& f) { f.a1.setVisible(false); }},
        {"Enabled", [](GroupForm& f) { f.a1.setEnabled(false); }},
        {"ToolTipText", [](GroupForm& f) { f.a1.setToolTipText("?"); }},
        {"Value", [](GroupForm& f) { f.a1.setValue(1); }},
        {"choose", [](GroupForm& f) { f.a2.choose(); }},
        {"Text of a text box", [](GroupForm& f) { f.text.setText("07"); }},
        {"ListIndex", [](GroupForm& f) { f.combo.setListIndex(1); }},
        {"Text of a combo", [](GroupForm& f) { f.combo.setText("10 Min"); }},
        {"Interval", [](GroupForm& f) { f.timer.setInterval(250); }},
        {"Enabled of a timer", [](GroupForm& f) { f.timer.setEnabled(false); }},
        {"form Caption", [](GroupForm& f) { f.setCaption("Durmivela"); }},
        {"WindowState", [](GroupForm& f) { f.setWindowState(WindowState::Minimized); }},
        {"form Visible", [](GroupForm& f) { f.show(); }},
        {"close", [](GroupForm& f) { f.close(); }},
    };
    for (const auto& [property, set] : setters) {
        GroupForm form;
        CountingView view;
        form.attach(&view);
        set(form);
        EXPECT_GT(view.told, 0) << property;
        view.told = 0;
        set(form);
        EXPECT_EQ(view.told, 0) << property << " set to its current value";
    }
}

}  // namespace
}  // namespace durmivela
