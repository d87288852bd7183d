#include "app/form.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(FormTest, TextsAreTheCodePage936FormOfTheirCharacters) {
  const struct {
    Control control;
    const char* utf8;
  } cases[] = {
      {Control::kCombo1, "安卓 - QQ"},  {Control::kGroup1, "安卓 - QQ"},
      {Control::kLabel2, "金牌"},       {Control::kLabel3, "银牌"},
      {Control::kLabel4, "铜牌"},       {Control::kLabel5, "国标"},
      {Control::kLabel6, "更新时间"},   {Control::kNational, "标签"},
      {Control::kGold, "标签"},         {Control::kSilver, "标签"},
      {Control::kBronze, "标签"},       {Control::kUpdateTime, "标签"},
      {Control::kGoldRegion, "标签"},   {Control::kSilverRegion, "标签"},
      {Control::kBronzeRegion, "标签"}, {Control::kEdit1, "Torvanel"},
      {Control::kButton1, "查询"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Text(FormRowOf(c.control).text), GbkFromUtf8(c.utf8)) << FormRowOf(c.control).name;
  }
  EXPECT_EQ(std::string(FormRowOf(Control::kLabel1).text).rfind("Morvessa ", 0), 0u);
}

TEST(FormTest, ComboItemsInOrderWithTheSecondInitial) {
  const auto items = FormRowOf(Control::kCombo1).items;
  ASSERT_EQ(items.size(), 4u);
  const char* utf8[] = {"安卓 - WX", "安卓 - QQ", "苹果 - QQ", "苹果 - WX"};
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(Text(items[i]), GbkFromUtf8(utf8[i]));
  EXPECT_EQ(Text(FormRowOf(Control::kCombo1).text), Text(items[kInitialComboItem]));
}

std::vector<std::string> Names(const std::vector<const FormRow*>& rows) {
  std::vector<std::string> names;
  names.reserve(rows.size());
  for (const FormRow* row : rows) names.push_back(row->name);
  return names;
}

TEST(FormTest, ParentsAndFocusOrderComeFromTheTableOrder) {
  EXPECT_TRUE(FormIsSound(Form()));
  EXPECT_EQ(Names(ChildrenOf(std::nullopt)),
            (std::vector<std::string>{"标签1", "组合框1", "分组框1", "编辑框1", "按钮1"}));
  EXPECT_EQ(Names(ChildrenOf(Control::kGroup1)),
            (std::vector<std::string>{"铜牌地区", "银牌地区", "金牌地区", "标签6", "时间", "国标",
                                      "标签5", "铜牌", "银牌", "金牌", "标签4", "标签3", "标签2"}));
  EXPECT_EQ(FocusOrder(),
            (std::vector<Control>{Control::kButton1, Control::kEdit1, Control::kCombo1}));
  for (int i = 0; i < kControlCount; ++i) {
    EXPECT_EQ(FormRowOf(static_cast<Control>(i)).id, static_cast<Control>(i));
  }
}

TEST(FormTest, UnsoundDescriptionsAreRefused) {
  using Rows = std::array<FormRow, kControlCount>;
  Rows base;
  std::copy(Form().begin(), Form().end(), base.begin());
  const auto broken = [&](auto change) {
    Rows rows = base;
    change(rows);
    return !FormIsSound(rows);
  };
  // Row 2 is the drop-down list, row 3 the first label of the group box,
  // row 16 the group box.
  EXPECT_TRUE(broken([](Rows& r) { r[3].id = r[2].id; }));               // a control twice
  EXPECT_TRUE(broken([](Rows& r) { r[3].parent = Control::kCombo1; }));  // parent not a group
  EXPECT_TRUE(broken([](Rows& r) { std::swap(r[2], r[15]); }));  // a group box before its rows
  EXPECT_TRUE(broken([](Rows& r) { r[6].width = 0; }));
  EXPECT_TRUE(broken([](Rows& r) { r[0].items = r[1].items; }));  // items on a label
  EXPECT_TRUE(broken([](Rows& r) { r[5].text = nullptr; }));
  EXPECT_FALSE(broken([](Rows&) {}));
  EXPECT_FALSE(FormIsSound(Form().first(kControlCount - 1)));
}

}  // namespace
}  // namespace zembrolt
