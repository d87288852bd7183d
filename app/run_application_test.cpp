#include "app/run_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "app/main_window.h"
#include "encoding/code_page.h"

namespace zembrolt {
namespace {

// Runs the application with the real window, doing `act` to it once the loop
// runs; counts what start-up did.
struct StartupRecord {
  int createCalls = 0;
  int reports = 0;
  std::uint32_t codePageAtCreation = 0;
  bool windowGone = false;
};

int RunWith(StartupRecord& run, const std::function<void(MainWindow*)>& act,
            bool windowCreated = true) {
  static int argc = 1;
  static char name[] = "zembrolt_test";
  static char* argv[] = {name, nullptr};
  LocalCodePage = 0;
  StartupHooks hooks;
  hooks.createWindow = [&run, act, windowCreated]() -> std::unique_ptr<MainWindow> {
    ++run.createCalls;
    run.codePageAtCreation = LocalCodePage;
    if (!windowCreated) return nullptr;
    auto window = CreateMainWindow();
    MainWindow* raw = window.get();
    QObject::connect(raw, &QObject::destroyed, [&run] { run.windowGone = true; });
    // Acts once the message loop is running.
    QTimer::singleShot(0, raw, [raw, act] { act(raw); });
    return window;
  };
  hooks.reportFailure = [&run](const QString&) { ++run.reports; };
  return RunApplication(argc, argv, hooks);
}

TEST(RunApplicationTest, EndsWithZeroHoweverTheWindowIsClosed) {
  const struct {
    const char* how;
    std::function<void(MainWindow*)> close;
  } cases[] = {
      {"Esc",
       [](MainWindow* w) {
         QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w,
                         Qt::Key_Escape);
       }},
      {"close button", [](MainWindow* w) { w->close(); }},
      {"minimise, restore, then close",
       [](MainWindow* w) {
         w->showMinimized();
         QTimer::singleShot(10, w, [w] {
           w->showNormal();
           QTimer::singleShot(10, w, [w] { w->close(); });
         });
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    StartupRecord run;
    EXPECT_EQ(RunWith(run, c.close), 0);
    EXPECT_EQ(run.createCalls, 1);
    EXPECT_EQ(run.reports, 0);
    EXPECT_EQ(run.codePageAtCreation, kCodePageGbk);
    EXPECT_TRUE(run.windowGone);
    EXPECT_EQ(LocalCodePage, kCodePageGbk);
  }
}

TEST(RunApplicationTest, AWindowThatCannotBeCreatedEndsWithTheFailureCode) {
  StartupRecord run;
  bool loopRan = false;
  const int code = RunWith(
      run, [&](MainWindow*) { loopRan = true; }, /*windowCreated=*/false);
  EXPECT_EQ(code, kFailureExitCode);
  EXPECT_EQ(code & 0xFF, 255);
  EXPECT_EQ(run.reports, 1);
  EXPECT_EQ(run.createCalls, 1);
  EXPECT_EQ(run.codePageAtCreation, kCodePageGbk);
  EXPECT_FALSE(loopRan);
}

}  // namespace
}  // namespace zembrolt
