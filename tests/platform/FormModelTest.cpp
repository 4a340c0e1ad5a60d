#include "platform/Form.h"
#include "platform/TickSchedule.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace durmivela {
namespace {

class LabelForm : public Form {
public:
    LabelForm() : Form("frmEtiquetas", Twips{0, 0, 1000, 1000}) {}
    Frame& left = add<Frame>("fmeA", nullptr, Twips{});
    ComboBox& combo = add<ComboBox>("cmb", nullptr, Twips{});
    TextBox& text = add<TextBox>("txt", nullptr, Twips{});
};

// A re-texted label renames the controls it names, so a screen reader
// follows a change of language.
TEST(FormModel, ANewLabelCaptionRenamesTheControlsItNames) {
    struct Recorder : FormView {
        std::vector<std::pair<const Control*, Property>> told;
        void controlChanged(Control& control, Property property) override { told.emplace_back(&control, property); }
        void formChanged(FormProperty) override {}
    } view;
    LabelForm form;
    form.text.labelledBy = &form.left;
    form.combo.describedBy = &form.left;
    form.attach(&view);
    form.left.setCaption("Hora");
    form.text.setAccessibleDetail("minuto");
    EXPECT_EQ(view.told, (std::vector<std::pair<const Control*, Property>>{
                             {&form.left, Property::Caption}, {&form.combo, Property::Accessibility},
                             {&form.text, Property::Accessibility}, {&form.text, Property::Accessibility}}));
}

// A wake-up late by less than an interval keeps every tick on its anchor; one
// a whole interval late or more skips the passed anchors, never bursts.
TEST(TickSchedule, LateWakeUpsKeepTheAnchorsAndSkipThosePassed) {
    TickSchedule schedule;
    schedule.start(10'000, 1000);
    ASSERT_EQ(schedule.nextDue(), 11'000);
    for (std::int64_t k = 1; k <= 5000; ++k) {
        const std::int64_t late = k * 7919 % 1000;  // 0 to 999 ms, scattered
        ASSERT_EQ(schedule.delivered(10'000 + k * 1000 + late), 10'000 + (k + 1) * 1000) << k;
    }
    schedule.start(0, 500);
    EXPECT_EQ(schedule.delivered(1500), 2000);  // a whole interval late: 1500 is dropped
    EXPECT_EQ(schedule.delivered(4730), 5000);  // anchors 2500..4500 dropped
}

}  // namespace
}  // namespace durmivela
