#include "platform/Form.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

class GroupForm : public Form {
public:
    GroupForm() : Form("frmGrupos", Twips{0, 0, 1000, 1000}) {}
    Frame& left = add<Frame>("fmeA", nullptr, Twips{});
    OptionButton& a1 = add<OptionButton>("opbA1", &left, Twips{});
    OptionButton& a2 = add<OptionButton>("opbA2", &left, Twips{});
    OptionButton& b1 = add<OptionButton>("opbB1", nullptr, Twips{});
    ComboBox& combo = add<ComboBox>("cmb", nullptr, Twips{});
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

TEST(FormModel, AComboTextChoosesTheMatchingEntryOrNone) {
    GroupForm form;
    for (const char* item : {"5 Min", "10 Min", "5 Min"}) form.combo.addItem(item);
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

}  // namespace
}  // namespace durmivela
