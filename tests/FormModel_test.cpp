// The generic parts of a window model that views and the command line rely on: dragging a list
// item, moving an up-down, and setting either through the component registry.
#include "platform/FormModel.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/FakeHost.h"

namespace umbrix::test {
namespace {

class ListForm : public FormModel {
  public:
    explicit ListForm(Host& host) : FormModel("FormList", host) {
        Control& list = add("List1", ControlKind::CheckList);
        list.items = {"a", "b", "c", "d"};
        list.itemChecked = {true, false, false, true};
        Control& up = add("UpDown1", ControlKind::UpDown);
        up.minimum = 0;
        up.maximum = 1440;
        up.position = 720;
    }
    std::vector<std::string> events;

  protected:
    void onChange(const std::string& name) override {
        events.push_back("change " + name + " " + std::to_string(ctl(name).position));
    }
    void onItemMoved(const std::string& name, int from, int to) override {
        events.push_back("moved " + name + " " + std::to_string(from) + ">" + std::to_string(to));
    }
};

TEST(FormModelTest, MovedItemKeepsItsCheckMarkInBothDirections) {
    FakeHost host;
    ListForm form(host);
    form.moveItem("List1", 0, 2);  // down
    const Control& list = form.ctl("List1");
    EXPECT_EQ(list.items, (std::vector<std::string>{"b", "c", "a", "d"}));
    EXPECT_EQ(list.itemChecked, (std::vector<bool>{false, false, true, true}));
    form.moveItem("List1", 3, 0);  // up
    EXPECT_EQ(list.items, (std::vector<std::string>{"d", "b", "c", "a"}));
    EXPECT_EQ(list.itemChecked, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(form.events, (std::vector<std::string>{"moved List1 0>2", "moved List1 3>0"}));
    EXPECT_THROW(form.moveItem("List1", 0, 4), UmbrixError);
    EXPECT_THROW(form.moveItem("List1", -1, 0), UmbrixError);
}

TEST(FormModelTest, PositionIsClampedAndRunsTheChangeHandler) {
    FakeHost host;
    ListForm form(host);
    ComponentRegistry registry;
    registry.add(form);
    form.setPosition("UpDown1", 1500);
    registry.set("UpDown1", "-30");
    registry.set("UpDown1", "90");
    EXPECT_EQ(form.ctl("UpDown1").position, 90);
    EXPECT_EQ(form.events, (std::vector<std::string>{"change UpDown1 1440", "change UpDown1 0",
                                                     "change UpDown1 90"}));
    EXPECT_THROW(registry.set("UpDown1", "9:00"), UmbrixError);
    EXPECT_EQ(form.ctl("UpDown1").position, 90);
}

}  // namespace
}  // namespace umbrix::test
