// The life of the process on Windows: start-up, the message loop and the
// exit code.
#ifndef ZEMBROLT_APP_RUN_APPLICATION_WIN32_H_
#define ZEMBROLT_APP_RUN_APPLICATION_WIN32_H_

#include <windows.h>

#include <functional>
#include <memory>

namespace zembrolt {

class MainWindow;

// The exit code after a failure the tool cannot continue from (0xFFFFFFFF as
// a Windows exit code).
inline constexpr int kFailureExitCode = -1;

// What start-up uses from outside itself, replaceable so that a failure can
// be provoked without touching the shipped tool's inputs.
struct StartupHooks {
  // Builds and shows the main window; null when it cannot be built.
  std::function<std::unique_ptr<MainWindow>()> createWindow;
  // Tells the user, once, why the tool cannot go on; returns when dismissed.
  std::function<void(const char* message)> reportFailure;
};

// The shipped hooks: CreateMainWindow on `instance` and a modal error box
// with one OK.
StartupHooks DefaultStartupHooks(HINSTANCE instance);

// Sets LocalCodePage to 936, creates and shows the main window and runs the
// message loop until the window is destroyed; returns the quit code, 0.
// Returns kFailureExitCode after one report, without entering the loop, when
// the window cannot be created.
int RunApplication(const StartupHooks& hooks);

// After memory ran out in a handler: one modal error box, then the process
// ends with kFailureExitCode.
[[noreturn]] void EndOnFatalFailure();

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_RUN_APPLICATION_WIN32_H_
