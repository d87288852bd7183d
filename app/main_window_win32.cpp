#include "app/main_window_win32.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "app/form.h"
#include "app/run_application_win32.h"
#include "query/query_flow.h"
#include "query/service_settings.h"

namespace zembrolt {
namespace {

constexpr char kWindowClass[] = "ZembroltMorvessaMainWindow";
constexpr char kLabelClass[] = "ZembroltMorvessaLabel";
constexpr char kIconResource[] = "DEFAULT_ICON";
constexpr COLORREF kLabelTextColor = RGB(0, 0, 0);
constexpr COLORREF kAddressTextColor = RGB(255, 0, 0);
// The least height the system gives a drop-down list, field and list together.
constexpr int kMinDropDownListHeight = 160;
// Child identifiers start clear of the dialog command identifiers (IDOK, ...).
constexpr int kFirstControlId = 100;

int Index(Control control) { return static_cast<int>(control); }

constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct ControlClass {
  const char* name;
  DWORD style;
  DWORD exStyle;
};

// Overlapping siblings clip each other, so that a control lower in the stack
// never paints over one above it.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return {kLabelClass, kChild, 0};
    case ControlKind::kDropDownList:
      return {"COMBOBOX", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::kEditBox:
      return {"EDIT", kChild | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kGroupBox:
      return {"BUTTON", kChild | WS_CLIPCHILDREN | BS_GROUPBOX | BS_CENTER, 0};
    case ControlKind::kPushButton:
      return {"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
              0};
  }
  return {kLabelClass, kChild, 0};
}

// The classes are registered once per process and kept until it ends.
bool RegisterClasses(HINSTANCE instance, WNDPROC windowProc, WNDPROC labelProc) {
  const auto registerOne = [instance](WNDCLASSEXA& wc) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, wc.lpszClassName, &existing)) return true;
    return RegisterClassExA(&wc) != 0;
  };
  WNDCLASSEXA window{};
  window.cbSize = sizeof window;
  window.lpfnWndProc = windowProc;
  window.hInstance = instance;
  // An executable without the icon resource (a test) gets no icon, nothing worse.
  window.hIcon = static_cast<HICON>(LoadImageA(instance, kIconResource, IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), LR_SHARED));
  window.hIconSm = static_cast<HICON>(LoadImageA(instance, kIconResource, IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  window.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window.lpszClassName = kWindowClass;

  WNDCLASSEXA label{};
  label.cbSize = sizeof label;
  label.lpfnWndProc = labelProc;
  label.hInstance = instance;
  label.hCursor = window.hCursor;
  // The label's paint fills its own background.
  label.hbrBackground = nullptr;
  label.lpszClassName = kLabelClass;
  return registerOne(window) && registerOne(label);
}

// The height of one line of `font`.
int LineHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) return 0;
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  const bool measured = GetTextMetricsA(dc, &metrics) != 0;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return measured ? static_cast<int>(metrics.tmHeight) : 0;
}

// The object a window was created for, kept in its user data from WM_NCCREATE on.
MainWindow* WindowObject(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace

int CentredStart(int screenExtent, int extent) {
  // C++ integer division truncates toward zero, as the placement asks.
  return (screenExtent - extent) / 2;
}

int EditBoxHeight(int height, int lineHeight, int edge) {
  return std::max(height, lineHeight + 2 * edge);
}

int DropDownListHeight(int height) { return std::max(height, kMinDropDownListHeight); }

int ControlId(Control control) { return kFirstControlId + Index(control); }

bool ControlOfId(int id, Control& control) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= kControlCount) return false;
  control = static_cast<Control>(index);
  return true;
}

MainWindow::~MainWindow() {
  onDestroyed_ = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> window(new MainWindow());
  if (!window->Build(instance)) return nullptr;
  return window;
}

bool MainWindow::Build(HINSTANCE instance) {
  if (!RegisterClasses(instance, WindowProc, LabelProc)) return false;
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  faceBrush_ = GetSysColorBrush(COLOR_BTNFACE);

  const int left = CentredStart(GetSystemMetrics(SM_CXSCREEN), kWindowWidth);
  const int top = CentredStart(GetSystemMetrics(SM_CYSCREEN), kWindowHeight);
  // No WS_CLIPCHILDREN: the group box paints no background of its own, so the
  // window paints the face beneath it.
  window_ = CreateWindowExA(0, kWindowClass, kWindowTitle, kFrameStyle, left, top, kWindowWidth,
                            kWindowHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  RECT outer{};
  GetWindowRect(window_, &outer);
  if (outer.right - outer.left != kWindowWidth || outer.bottom - outer.top != kWindowHeight ||
      outer.left != left || outer.top != top) {
    SetWindowPos(window_, nullptr, left, top, kWindowWidth, kWindowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  // Every control starts as a child of the window, in table order.
  for (const FormRow& row : Form()) {
    const ControlClass cls = ClassOf(row.kind);
    int height = row.height;
    if (row.kind == ControlKind::kDropDownList) {
      height = DropDownListHeight(row.height);
    } else if (row.kind == ControlKind::kEditBox) {
      height = EditBoxHeight(row.height, LineHeight(font_), GetSystemMetrics(SM_CYEDGE));
    }
    const char* text = row.kind == ControlKind::kDropDownList ? "" : row.text;
    HWND control = CreateWindowExA(
        cls.exStyle, cls.name, text, cls.style, row.left, row.top, row.width, height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row.id))), instance, this);
    if (control == nullptr) return false;
    controls_[Index(row.id)] = control;
    captions_[Index(row.id)] = Text(row.text);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (row.kind == ControlKind::kDropDownList) {
      for (const char* item : row.items) {
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      }
      SendMessageA(control, CB_SETCURSEL, kInitialComboItem, 0);
      // The items, not the selection field, one pixel higher than the font makes them.
      const LRESULT itemHeight = SendMessageA(control, CB_GETITEMHEIGHT, 0, 0);
      if (itemHeight > 0) SendMessageA(control, CB_SETITEMHEIGHT, 0, itemHeight + 1);
    } else if (row.kind == ControlKind::kEditBox) {
      SendMessageA(control, EM_SETSEL, 0, 0);
    }
  }

  // The group box takes the rows that name it, at the same left and top.
  for (const FormRow& row : Form()) {
    if (!row.parent) continue;
    HWND control = controls_[Index(row.id)];
    SetParent(control, controls_[Index(*row.parent)]);
    SetWindowPos(control, nullptr, row.left, row.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Among siblings an earlier row lies above every later one.
  for (const std::optional<Control>& parent :
       {std::optional<Control>(), std::optional<Control>(Control::kGroup1)}) {
    HWND above = HWND_TOP;
    for (const FormRow* row : ChildrenOf(parent)) {
      HWND control = controls_[Index(row->id)];
      SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      above = control;
    }
  }

  for (const Control control : FocusOrder()) focusOrder_.push_back(controls_[Index(control)]);

  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
  // The window may have become active before it was shown, when no focus
  // could be given yet.
  if (GetActiveWindow() == window_ && !IsOwnWindow(GetFocus())) SetFocus(focusOrder_.front());
  UpdateWindow(window_);
  return true;
}

HWND MainWindow::ControlHandle(Control control) const { return controls_[Index(control)]; }

Text MainWindow::ReadControlText(Control control) const {
  HWND hwnd = controls_[Index(control)];
  switch (control) {
    case Control::kCombo1: {
      const LRESULT selected = SendMessageA(hwnd, CB_GETCURSEL, 0, 0);
      if (hwnd == nullptr || selected == CB_ERR) return Text();
      const LRESULT length = SendMessageA(hwnd, CB_GETLBTEXTLEN, selected, 0);
      if (length == CB_ERR || length <= 0) return Text();
      std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
      const LRESULT copied =
          SendMessageA(hwnd, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(buffer.data()));
      if (copied == CB_ERR) return Text();
      return Text(std::string_view(buffer.data(), static_cast<std::size_t>(copied)));
    }
    case Control::kEdit1: {
      if (hwnd == nullptr) return Text();
      const int length = GetWindowTextLengthA(hwnd);
      if (length <= 0) return Text();
      std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
      const int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
      return Text(std::string_view(buffer.data(), static_cast<std::size_t>(std::max(copied, 0))));
    }
    default:
      return captions_[Index(control)];
  }
}

void MainWindow::WriteControlText(Control control, const Text& text) {
  if (control == Control::kCombo1 || control == Control::kEdit1) return;
  captions_[Index(control)] = text;
  HWND hwnd = controls_[Index(control)];
  if (hwnd == nullptr) return;
  SetWindowTextA(hwnd, text.c_str());
  // A label paints the next time the window paints, from the stored caption.
  if (FormRowOf(control).kind == ControlKind::kLabel) InvalidateRect(hwnd, nullptr, FALSE);
}

bool MainWindow::IsOwnWindow(HWND hwnd) const {
  return window_ != nullptr && hwnd != nullptr && (hwnd == window_ || IsChild(window_, hwnd));
}

bool MainWindow::PreTranslateMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || !IsOwnWindow(message.hwnd)) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  switch (message.wParam) {
    case VK_TAB:
      if (ctrl || alt) return false;
      MoveFocus(shift ? -1 : +1);
      return true;
    case VK_ESCAPE:
      if (shift || ctrl || alt) return false;
      // The same road as the close button: the window menu's Close.
      SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_RETURN:
      // No default button: Enter presses nothing and does not move the focus.
      return !(shift || ctrl || alt);
    default:
      return false;
  }
}

HWND MainWindow::FocusOnActivation() const {
  return savedFocus_ != nullptr ? savedFocus_ : focusOrder_.front();
}

void MainWindow::MoveFocus(int step) {
  const int count = static_cast<int>(focusOrder_.size());
  const auto at = std::find(focusOrder_.begin(), focusOrder_.end(), GetFocus());
  int next = 0;
  if (at != focusOrder_.end()) {
    next = (static_cast<int>(at - focusOrder_.begin()) + step + count) % count;
  }
  HWND target = focusOrder_[next];
  SetFocus(target);
  // As a dialog does, an edit box reached by the keyboard has its text selected.
  if (target == controls_[Index(Control::kEdit1)]) SendMessageA(target, EM_SETSEL, 0, -1);
}

void MainWindow::PaintLabel(HWND label) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(label, &paint);
  if (dc == nullptr) return;
  Control control{};
  const bool known = ControlOfId(GetDlgCtrlID(label), control);
  FillRect(dc, &paint.rcPaint, faceBrush_);
  if (known) {
    const Text& caption = captions_[Index(control)];
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, control == Control::kLabel1 ? kAddressTextColor : kLabelTextColor);
    HGDIOBJ old = SelectObject(dc, font_);
    RECT area{};
    GetClientRect(label, &area);
    // No prefix, so "&" is drawn as itself; one line, cut at the label's edges.
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
  }
  EndPaint(label, &paint);
}

LRESULT MainWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IsOwnWindow(focus) && focus != window_) savedFocus_ = focus;
      } else if (HIWORD(wParam) == 0 && !focusOrder_.empty()) {
        SetFocus(FocusOnActivation());
      }
      return 0;
    case WM_SETFOCUS:
      // The window itself never keeps the focus once its controls exist.
      if (!focusOrder_.empty()) SetFocus(FocusOnActivation());
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == ControlId(Control::kButton1) && HIWORD(wParam) == BN_CLICKED) {
        try {
          OnQueryClicked(*this, kRankingServiceBase);
        } catch (const std::bad_alloc&) {
          EndOnFatalFailure();
        }
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // The group box: black caption on the window's face.
      SetTextColor(reinterpret_cast<HDC>(wParam), kLabelTextColor);
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(faceBrush_);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_NCDESTROY: {
      window_ = nullptr;
      controls_.fill(nullptr);
      focusOrder_.clear();
      savedFocus_ = nullptr;
      std::function<void()> destroyed = std::move(onDestroyed_);
      onDestroyed_ = nullptr;
      if (destroyed) destroyed();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = WindowObject(hwnd, message, lParam);
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) self->window_ = hwnd;
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return self->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = WindowObject(hwnd, message, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      // The paint covers every pixel it is asked for.
      return 1;
    case WM_PAINT:
      if (self != nullptr) {
        self->PaintLabel(hwnd);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::unique_ptr<MainWindow> CreateMainWindow(HINSTANCE instance) {
  if (!FormIsSound(Form())) return nullptr;
  return MainWindow::Create(instance);
}

}  // namespace zembrolt
