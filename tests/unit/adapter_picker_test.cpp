#include "setup/adapter_picker.h"

#include <gtest/gtest.h>

#include "scratch_dir.h"

namespace {

TNicItem Item(const std::string& description, const std::string& mac,
              TAdapterKind kind = TAdapterKind::Own) {
  TNicItem item{description, "10.0.0.1", mac};
  item.Kind = kind;
  return item;
}

class AdapterPickerTest : public testing::Test {
 protected:
  AdapterPickerTest() {
    List.Items = {Item("Wired", "00-01"), Item("Wired-Filter", "00-01", TAdapterKind::Filter),
                  Item("VPN", "00-04", TAdapterKind::Virtual), Item("Wi-Fi", "00-02")};
  }
  std::vector<bool> Ticks(const TAdapterPicker& picker) {
    std::vector<bool> ticks;
    for (int row = 0; row < static_cast<int>(picker.Rows().size()); ++row)
      ticks.push_back(picker.Counted(row));
    return ticks;
  }
  TAdapterList List;
};

// A chosen adapter the table lacks (a phone unplugged) keeps a row of its
// own, so that Apply does not drop it unseen.
TEST_F(AdapterPickerTest, AChosenAdapterThatIsAbsentKeepsARow) {
  const TAdapterPicker picker(List, {false, {"Phone @ 02-00", "Wi-Fi @ 00-02"}});
  ASSERT_EQ(picker.Rows().size(), 5u);
  EXPECT_EQ(picker.Rows()[4].Item.Description, "Phone");
  EXPECT_EQ(picker.Rows()[4].Item.MAC, "02-00");
  EXPECT_EQ(picker.Mode(), amTicked);
  EXPECT_EQ(picker.Selected(), 4);
  EXPECT_EQ(Ticks(picker), (std::vector<bool>{false, false, false, true, true}));
  EXPECT_EQ(picker.Status(4), "absent");
  EXPECT_EQ(picker.Explanation(4), "Not connected now: counted again as soon as it is back.");
  EXPECT_EQ(picker.Choice(), (TAdapterChoice{false, {"Phone @ 02-00", "Wi-Fi @ 00-02"}}));
}

// One adapter: the selection is the tick. A tick on another row makes a
// set of the two, in the order chosen; unticking leaves the other.
TEST_F(AdapterPickerTest, TickingUnderOneAdapterMakesASetInTheOrderChosen) {
  TAdapterPicker picker(List, {false, {"Wired @ 00-01"}});
  EXPECT_EQ(picker.Mode(), amOne);
  picker.Select(3);
  EXPECT_EQ(Ticks(picker), (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(picker.Choice(), (TAdapterChoice{false, {"Wi-Fi @ 00-02"}}));
  picker.Toggle(0);
  EXPECT_EQ(picker.Mode(), amTicked);
  EXPECT_EQ(picker.Choice(), (TAdapterChoice{false, {"Wi-Fi @ 00-02", "Wired @ 00-01"}}));
  picker.Select(2);  // the cursor only
  picker.Toggle(3);
  EXPECT_EQ(picker.Choice(), (TAdapterChoice{false, {"Wired @ 00-01"}}));
  EXPECT_EQ(picker.Status(3), "no");
  picker.Toggle(0);
  EXPECT_EQ(picker.Choice(), (TAdapterChoice{false, {}}));
}

// All adapters shows what it counts and why it leaves a row out; a tick
// there starts a set from what it showed, and a row's kind no longer
// matters once ticked.
TEST_F(AdapterPickerTest, AllAdaptersTellsWhyARowIsLeftOut) {
  TAdapterPicker picker(List, {true, {"VPN @ 00-04"}});
  EXPECT_EQ(picker.Mode(), amAll);
  EXPECT_EQ(Ticks(picker), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(picker.Status(1), "no: filter");
  EXPECT_EQ(picker.Status(2), "no: virtual");
  EXPECT_EQ(picker.Explanation(1),
            "A filter layer that Windows lists again for the same adapter. All adapters leaves it "
            "out; tick it to count it all the same.");
  EXPECT_EQ(picker.Explanation(0), "");
  EXPECT_EQ(picker.Choice(), (TAdapterChoice{true, {}}));
  picker.Toggle(2);
  EXPECT_EQ(picker.Choice(),
            (TAdapterChoice{false, {"Wired @ 00-01", "Wi-Fi @ 00-02", "VPN @ 00-04"}}));
  EXPECT_EQ(picker.Status(2), "yes");
  EXPECT_EQ(
      picker.Explanation(2),
      "Windows marks it as no hardware (a VPN or virtual switch adapter): its traffic crosses "
      "another adapter as well. Counted because it is ticked.");
  // Back to all and to the set: the set is as it was left.
  picker.SetMode(amAll);
  picker.SetMode(amTicked);
  EXPECT_EQ(picker.Choice().Keys.size(), 3u);
}

// A file of the one-adapter days is a set of one; the keys run from "S" on
// while they follow each other, without repeats.
TEST(AdapterChoiceTest, ReadFromTheNicSection) {
  TScratchDir dir;
  TIniFile32 ini(dir.Path("settings.ini"), false);
  ini.WriteString("NIC", "S", "eth0 @ 00-11");
  EXPECT_EQ(ReadAdapterChoice(ini), (TAdapterChoice{false, {"eth0 @ 00-11"}}));
  ini.WriteString("NIC", "S2", "eth0 @ 00-11");
  ini.WriteString("NIC", "S3", "wlan0 @ 00-22");
  ini.WriteString("NIC", "S5", "lost @ 00-33");
  ini.WriteString("NIC", "All", "1");
  EXPECT_EQ(ReadAdapterChoice(ini), (TAdapterChoice{true, {"eth0 @ 00-11", "wlan0 @ 00-22"}}));
}

}  // namespace
