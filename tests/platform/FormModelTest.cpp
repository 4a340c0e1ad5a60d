#include "platform/Form.h"

#include <gtest/gtest.h>

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
};

TEST(FormModel, OptionButtonsOfOneContainerFormAGroupAndAComboMatchesItsText) {
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

    // A combo's text chooses the first matching entry, or none.
    form.combo.setText("5 Min");
    EXPECT_EQ(form.combo.listIndex(), 0);
    form.combo.setText("");
    EXPECT_EQ(form.combo.listIndex(), -1);
    form.combo.userSelect(1);
    EXPECT_EQ(form.combo.text(), "10 Min");
    form.combo.setListIndex(7);  // out of range: ignored
    EXPECT_EQ(form.combo.listIndex(), 1);
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

}  // namespace
}  // namespace durmivela
