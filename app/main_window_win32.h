// The tool's only window on the Win32 interface, built from the form table,
// and the control texts the query flow reads and writes.
#ifndef ZEMBROLT_APP_MAIN_WINDOW_WIN32_H_
#define ZEMBROLT_APP_MAIN_WINDOW_WIN32_H_

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "encoding/text.h"
#include "query/control_texts.h"

namespace zembrolt {

// Where one side of the outer rectangle starts when a window `extent` long is
// centred on a screen `screenExtent` long: signed division, toward zero.
int CentredStart(int screenExtent, int extent);

// The height a one-line edit box is given: `height`, raised to one line of
// its font plus twice the 3-D edge when lower.
int EditBoxHeight(int height, int lineHeight, int edge);

// The height a drop-down list is created with (field and dropped list):
// `height`, raised to the least such a list is given.
int DropDownListHeight(int height);

// The child window identifier of `control`, and the control of an identifier
// (false when it names none).
int ControlId(Control control);
bool ControlOfId(int id, Control& control);

class MainWindow : public ControlTexts {
 public:
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  // Destroys the window if it still exists.
  ~MainWindow() override;

  // The window and its controls from Form(), centred on the whole primary
  // screen, shown and active; null when the window cannot be created.
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance);

  // The top-level window; null once it has been destroyed.
  HWND Handle() const { return window_; }
  // The child window of `control`; null once the window has been destroyed.
  HWND ControlHandle(Control control) const;

  // Called once, after the window has been finally destroyed, however it was
  // closed.
  void OnDestroyed(std::function<void()> callback) { onDestroyed_ = std::move(callback); }

  Text ReadControlText(Control control) const override;
  // On kCombo1 and kEdit1 a write changes nothing: their texts change only by
  // the user's hand.
  void WriteControlText(Control control, const Text& text) override;

  // The window's look at a message before it is dispatched: Tab, Shift+Tab,
  // Esc and Enter meant for the window or one of its controls. True when the
  // window acted on it and the message must not be dispatched.
  bool PreTranslateMessage(const MSG& message);

 private:
  MainWindow() = default;
  bool Build(HINSTANCE instance);
  void MoveFocus(int step);
  // The control that had the focus when the window was last deactivated, or
  // the first of the focus order. Only while the controls exist.
  HWND FocusOnActivation() const;
  bool IsOwnWindow(HWND hwnd) const;
  void PaintLabel(HWND label);
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  std::array<Text, kControlCount> captions_;
  std::vector<HWND> focusOrder_;
  // The control that had the focus when the window lost the activation.
  HWND savedFocus_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH faceBrush_ = nullptr;
  std::function<void()> onDestroyed_;
};

// The main window, shown and active; null when it cannot be created. The
// caller owns it.
std::unique_ptr<MainWindow> CreateMainWindow(HINSTANCE instance);

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_MAIN_WINDOW_WIN32_H_
