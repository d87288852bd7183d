#include "app/main_window_win32.h"

#include <gtest/gtest.h>

#include "app/form.h"

namespace zembrolt {
namespace {

TEST(MainWindowWin32Test, CentresWithDivisionTowardZero) {
  const struct {
    int screen;
    int extent;
    int start;
  } cases[] = {
      {1024, kWindowWidth, 328},
      {768, kWindowHeight, 221},
      // A screen narrower than the window: -33.5 becomes -33, not -34.
      {300, kWindowWidth, -33},
      {kWindowWidth, kWindowWidth, 0},
      {0, kWindowHeight, -162},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.screen);
    EXPECT_EQ(CentredStart(c.screen, c.extent), c.start);
  }
}

TEST(MainWindowWin32Test, RaisesTooLowEditBoxesAndDropDownLists) {
  EXPECT_EQ(EditBoxHeight(20, 13, 2), 20);
  EXPECT_EQ(EditBoxHeight(20, 18, 2), 22);
  EXPECT_EQ(EditBoxHeight(16, 12, 2), 16);
  EXPECT_EQ(DropDownListHeight(160), 160);
  EXPECT_EQ(DropDownListHeight(100), 160);
  EXPECT_EQ(DropDownListHeight(200), 200);
}

TEST(MainWindowWin32Test, EveryControlHasItsOwnIdentifier) {
  for (const FormRow& row : Form()) {
    SCOPED_TRACE(row.name);
    const int id = ControlId(row.id);
    // The dialog command identifiers (IDOK 1 to IDCONTINUE 11) stay free.
    EXPECT_GT(id, 11);
    Control back{};
    ASSERT_TRUE(ControlOfId(id, back));
    EXPECT_EQ(back, row.id);
  }
  Control none{};
  EXPECT_FALSE(ControlOfId(ControlId(Control::kLabel1) - 1, none));
  EXPECT_FALSE(ControlOfId(ControlId(Control::kLabel1) + kControlCount, none));
  EXPECT_FALSE(ControlOfId(0, none));
}

}  // namespace
}  // namespace zembrolt
