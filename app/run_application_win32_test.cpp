#include "app/run_application_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "encoding/code_page.h"

namespace zembrolt {
namespace {

// What start-up did with hooks whose window cannot be built.
struct StartupRecord {
  int createCalls = 0;
  std::uint32_t codePageAtCreation = 0;
  std::vector<std::string> reports;
};

TEST(RunApplicationWin32Test, AWindowThatCannotBeCreatedEndsWithTheFailureCode) {
  const struct {
    const char* how;
    bool throws;
  } cases[] = {{"no window", false}, {"memory exhausted", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    StartupRecord run;
    LocalCodePage = 0;
    StartupHooks hooks;
    hooks.createWindow = [&run, &c]() -> std::unique_ptr<MainWindow> {
      ++run.createCalls;
      run.codePageAtCreation = LocalCodePage;
      if (c.throws) throw std::bad_alloc();
      return nullptr;
    };
    hooks.reportFailure = [&run](const char* message) { run.reports.emplace_back(message); };
    // Were the loop entered, nothing would ever end it and the test would hang.
    // -1, which Windows reports as the exit code 0xFFFFFFFF.
    EXPECT_EQ(static_cast<std::uint32_t>(RunApplication(hooks)), 0xFFFFFFFFu);
    EXPECT_EQ(run.createCalls, 1);
    EXPECT_EQ(run.codePageAtCreation, kCodePageGbk);
    ASSERT_EQ(run.reports.size(), 1u);
    EXPECT_FALSE(run.reports[0].empty());
  }
}

}  // namespace
}  // namespace zembrolt
