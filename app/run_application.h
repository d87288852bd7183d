// The life of the process: start-up, the message loop and the exit code.
#ifndef ZEMBROLT_APP_RUN_APPLICATION_H_
#define ZEMBROLT_APP_RUN_APPLICATION_H_

#include <QString>
#include <functional>
#include <memory>

namespace zembrolt {

class MainWindow;

// The exit code after a failure the tool cannot continue from (255 as a POSIX
// exit status, 0xFFFFFFFF on Windows).
inline constexpr int kFailureExitCode = -1;

// What start-up uses from outside itself, replaceable so that a failure can
// be provoked without touching the shipped tool's inputs.
struct StartupHooks {
  // Builds the main window, not shown; null when it cannot be built.
  std::function<std::unique_ptr<MainWindow>()> createWindow;
  // Tells the user, once, why the tool cannot go on; returns when dismissed.
  std::function<void(const QString& message)> reportFailure;
};

// The shipped hooks: CreateMainWindow and a modal error box with one OK.
StartupHooks DefaultStartupHooks();

// Opens the display, sets LocalCodePage to 936, creates and shows the main
// window and runs the message loop until the window is destroyed; returns 0.
// Returns kFailureExitCode after one report when the window cannot be
// created; ends the process with that code after one line on stderr when no
// display can be opened. `argc` and `argv` are handed to Qt alone and must
// outlive the call.
int RunApplication(int& argc, char** argv, const StartupHooks& hooks = DefaultStartupHooks());

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_RUN_APPLICATION_H_
