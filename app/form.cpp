#include "app/form.h"

#include <array>
#include <cstddef>

namespace zembrolt {
namespace {

constexpr const char* kComboItems[] = {
    "\xB0\xB2\xD7\xBF - WX",  // 安卓 - WX
    "\xB0\xB2\xD7\xBF - QQ",  // 安卓 - QQ
    "\xC6\xBB\xB9\xFB - QQ",  // 苹果 - QQ
    "\xC6\xBB\xB9\xFB - WX",  // 苹果 - WX
};

constexpr char kLabelText[] = "\xB1\xEA\xC7\xA9";  // 标签

using enum Control;
using enum ControlKind;

// The labels 3 to 15 sit inside the group box; their places are measured from
// its top-left corner.
constexpr std::array<FormRow, kControlCount> kForm{{
    {kLabel1, "标签1", kLabel, {}, 96, 8, 160, 24, "Morvessa zembrolt.test", {}},
    {kCombo1,
     "组合框1",
     kDropDownList,
     {},
     120,
     248,
     96,
     160,
     kComboItems[kInitialComboItem],
     kComboItems},
    {kBronzeRegion, "铜牌地区", kLabel, kGroup1, 112, 136, 80, 24, kLabelText, {}},
    {kSilverRegion, "银牌地区", kLabel, kGroup1, 112, 104, 80, 24, kLabelText, {}},
    {kGoldRegion, "金牌地区", kLabel, kGroup1, 112, 72, 80, 24, kLabelText, {}},
    {kLabel6,
     "标签6",
     kLabel,
     kGroup1,
     8,
     176,
     48,
     24,
     "\xB8\xFC\xD0\xC2\xCA\xB1\xBC\xE4",  // 更新时间
     {}},
    {kUpdateTime, "时间", kLabel, kGroup1, 72, 176, 160, 24, kLabelText, {}},
    {kNational, "国标", kLabel, kGroup1, 56, 40, 80, 24, kLabelText, {}},
    {kLabel5, "标签5", kLabel, kGroup1, 8, 40, 32, 24, "\xB9\xFA\xB1\xEA", {}},  // 国标
    {kBronze, "铜牌", kLabel, kGroup1, 56, 136, 80, 24, kLabelText, {}},
    {kSilver, "银牌", kLabel, kGroup1, 56, 104, 80, 24, kLabelText, {}},
    {kGold, "金牌", kLabel, kGroup1, 56, 72, 80, 24, kLabelText, {}},
    {kLabel4, "标签4", kLabel, kGroup1, 8, 136, 32, 24, "\xCD\xAD\xC5\xC6", {}},  // 铜牌
    {kLabel3, "标签3", kLabel, kGroup1, 8, 104, 32, 24, "\xD2\xF8\xC5\xC6", {}},  // 银牌
    {kLabel2, "标签2", kLabel, kGroup1, 8, 72, 32, 24, "\xBD\xF0\xC5\xC6", {}},   // 金牌
    {kGroup1, "分组框1", kGroupBox, {}, 56, 32, 256, 208, kComboItems[kInitialComboItem], {}},
    {kEdit1, "编辑框1", kEditBox, {}, 56, 248, 56, 20, "Torvanel", {}},
    {kButton1, "按钮1", kPushButton, {}, 232, 248, 80, 20, "\xB2\xE9\xD1\xAF", {}},  // 查询
}};

bool TakesFocus(ControlKind kind) {
  return kind == kDropDownList || kind == kEditBox || kind == kPushButton;
}

}  // namespace

std::span<const FormRow> Form() { return kForm; }

const FormRow& FormRowOf(Control control) {
  for (const FormRow& row : kForm) {
    if (row.id == control) return row;
  }
  // Unreachable while the table holds every Control, which FormIsSound checks.
  return kForm.front();
}

std::vector<const FormRow*> ChildrenOf(std::optional<Control> parent) {
  std::vector<const FormRow*> children;
  for (const FormRow& row : kForm) {
    if (row.parent == parent) children.push_back(&row);
  }
  return children;
}

std::vector<Control> FocusOrder() {
  std::vector<Control> order;
  for (auto row = kForm.rbegin(); row != kForm.rend(); ++row) {
    if (TakesFocus(row->kind)) order.push_back(row->id);
  }
  return order;
}

bool FormIsSound(std::span<const FormRow> rows) {
  if (rows.size() != static_cast<std::size_t>(kControlCount)) return false;
  std::array<int, kControlCount> seen{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const FormRow& row = rows[i];
    const int index = static_cast<int>(row.id);
    if (index < 0 || index >= kControlCount || seen[index]++ > 0) return false;
    if (row.name == nullptr || row.text == nullptr) return false;
    if (row.width <= 0 || row.height <= 0) return false;
    if (!row.items.empty() && row.kind != kDropDownList) return false;
    if (!row.parent) continue;
    bool parentFound = false;
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      if (rows[j].id == *row.parent) {
        parentFound = rows[j].kind == kGroupBox && !rows[j].parent;
        break;
      }
    }
    if (!parentFound) return false;
  }
  return true;
}

}  // namespace zembrolt
