#include "app/run_application_win32.h"

#include <cstdlib>
#include <new>

#include "app/form.h"
#include "app/main_window_win32.h"
#include "encoding/code_page.h"

namespace zembrolt {
namespace {

void ShowErrorBox(const char* message) {
  MessageBoxA(nullptr, message, kWindowTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace

StartupHooks DefaultStartupHooks(HINSTANCE instance) {
  return {[instance] { return CreateMainWindow(instance); }, ShowErrorBox};
}

int RunApplication(const StartupHooks& hooks) {
  LocalCodePage = kCodePageGbk;

  std::unique_ptr<MainWindow> window;
  try {
    window = hooks.createWindow();
  } catch (const std::bad_alloc&) {
    window.reset();
  }
  if (!window || window->Handle() == nullptr) {
    hooks.reportFailure("The main window cannot be created.");
    return kFailureExitCode;
  }

  // The quit request is posted once the last window of the tool is gone and
  // the loop has been entered; before that there is no loop to end.
  bool loopEntered = false;
  window->OnDestroyed([&loopEntered] {
    if (loopEntered) PostQuitMessage(0);
  });
  loopEntered = true;
  // The window may already be gone, and then the loop would wait for ever.
  if (window->Handle() == nullptr) return 0;

  MSG message{};
  int code = 0;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(message.wParam);
      break;
    }
    // A broken queue cannot be waited on again.
    if (got == -1) break;
    if (window->PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return code;
}

void EndOnFatalFailure() {
  ShowErrorBox("The tool ran out of memory and has to end.");
  std::exit(kFailureExitCode);
}

}  // namespace zembrolt
