// The window as the query flow sees it: controls named as in the window's
// form, whose texts are read and written as code page 936 Text.
#ifndef ZEMBROLT_QUERY_CONTROL_TEXTS_H_
#define ZEMBROLT_QUERY_CONTROL_TEXTS_H_

#include "encoding/text.h"

namespace zembrolt {

// Every control of the main window, by its form name.
enum class Control {
  kLabel1,        // 标签1, the red address line
  kCombo1,        // 组合框1, the platform list
  kEdit1,         // 编辑框1, the hero name
  kButton1,       // 按钮1, 查询
  kGroup1,        // 分组框1, the frame around the results
  kLabel2,        // 标签2, "金牌"
  kLabel3,        // 标签3, "银牌"
  kLabel4,        // 标签4, "铜牌"
  kLabel5,        // 标签5, "国标"
  kLabel6,        // 标签6, "更新时间"
  kNational,      // 国标, national threshold
  kGold,          // 金牌, provincial threshold
  kSilver,        // 银牌, city threshold
  kBronze,        // 铜牌, district threshold
  kUpdateTime,    // 时间, the service's update time
  kGoldRegion,    // 金牌地区, province name
  kSilverRegion,  // 银牌地区, city name
  kBronzeRegion,  // 铜牌地区, district name
};

inline constexpr int kControlCount = 18;

class ControlTexts {
 public:
  virtual ~ControlTexts() = default;

  // The text of kCombo1's selected item (empty when none) or kEdit1's content,
  // read from the control at each call; for kGroup1 and the labels, exactly the
  // caption last written, or the initial one.
  virtual Text ReadControlText(Control control) const = 0;

  // Stores a copy of `text` as the caption of kGroup1 or a label and hands it
  // to the control; an empty text empties it. Forces no repaint.
  virtual void WriteControlText(Control control, const Text& text) = 0;
};

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_CONTROL_TEXTS_H_
