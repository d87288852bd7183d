// The window as the query flow sees it, for tests: the controls' texts in a
// map, with every write kept in order.
#ifndef ZEMBROLT_QUERY_FAKE_WINDOW_H_
#define ZEMBROLT_QUERY_FAKE_WINDOW_H_

#include <map>
#include <utility>
#include <vector>

#include "encoding/testing.h"
#include "query/control_texts.h"

namespace zembrolt {

inline constexpr Control kValueLabels[] = {
    Control::kNational,   Control::kGold,       Control::kSilver,       Control::kBronze,
    Control::kUpdateTime, Control::kGoldRegion, Control::kSilverRegion, Control::kBronzeRegion,
};

// Starts as the window opens: 安卓 - QQ, Torvanel, every value label 标签.
class FakeWindow : public ControlTexts {
 public:
  FakeWindow() {
    texts_[Control::kCombo1] = GbkFromUtf8("安卓 - QQ");
    texts_[Control::kEdit1] = "Torvanel";
    texts_[Control::kGroup1] = GbkFromUtf8("安卓 - QQ");
    for (Control label : kValueLabels) texts_[label] = GbkFromUtf8("标签");
  }

  Text ReadControlText(Control control) const override {
    const auto it = texts_.find(control);
    return it == texts_.end() ? Text() : it->second;
  }
  void WriteControlText(Control control, const Text& text) override {
    texts_[control] = text;
    writes_.emplace_back(control, text);
  }

  void Set(Control control, const Text& text) { texts_[control] = text; }
  const std::vector<std::pair<Control, Text>>& writes() const { return writes_; }

 private:
  std::map<Control, Text> texts_;
  std::vector<std::pair<Control, Text>> writes_;
};

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_FAKE_WINDOW_H_
