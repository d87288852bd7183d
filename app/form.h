// The description of the main window: one row per control, in the order that
// decides creation, stacking and focus. Everything else about the window's
// layout is derived from this table.
#ifndef ZEMBROLT_APP_FORM_H_
#define ZEMBROLT_APP_FORM_H_

#include <optional>
#include <span>
#include <vector>

#include "query/control_texts.h"

namespace zembrolt {

enum class ControlKind { kLabel, kDropDownList, kEditBox, kGroupBox, kPushButton };

struct FormRow {
  Control id;
  const char* name;  // the form name in UTF-8; the widget's objectName
  ControlKind kind;
  std::optional<Control> parent;  // none: a child of the window itself
  int left;                       // from the top-left corner of the parent
  int top;
  int width;
  int height;
  const char* text;                    // initial text, code page 936
  std::span<const char* const> items;  // the drop-down list's items, code page 936
};

// The window's title and outer size, frame included.
inline constexpr char kWindowTitle[] = "Zembrolt Morvessa";
inline constexpr int kWindowWidth = 367;
inline constexpr int kWindowHeight = 325;

// The drop-down list's item selected when the window opens.
inline constexpr int kInitialComboItem = 1;

// All rows, in table order. The table is static; nothing owns it.
std::span<const FormRow> Form();

// The row of `control`; every Control has exactly one.
const FormRow& FormRowOf(Control control);

// The rows whose parent is `parent`, in table order.
std::vector<const FormRow*> ChildrenOf(std::optional<Control> parent);

// The controls that take the keyboard focus, in the order Tab walks them: the
// tab stops from the last row of the table to the first.
std::vector<Control> FocusOrder();

// True when `rows` can be built into a window: every control once, every
// parent a group box that comes later in the table and is a child of the
// window, sizes positive, items only on the drop-down list.
bool FormIsSound(std::span<const FormRow> rows);

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_FORM_H_
