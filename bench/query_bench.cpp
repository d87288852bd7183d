// Queries in a running tool: the real main window, on Qt's offscreen platform,
// pointed at a running stand-in service; 按钮1 is clicked COUNT times and each
// query is timed from the click to the moment the eighth label is written.
//
// usage: query_bench SERVICE_BASE CA_FILE COUNT
// prints "query N MICROSECONDS" for each query and "rss N KIB" after the
// 10th and the last; exits 1 when a query leaves a label empty.
#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/main_window.h"
#include "encoding/code_page.h"
#include "query/http_get.h"

namespace zembrolt {
namespace {

using Clock = std::chrono::steady_clock;

constexpr Control kValueLabels[] = {
    Control::kNational,   Control::kGold,       Control::kSilver,       Control::kBronze,
    Control::kUpdateTime, Control::kGoldRegion, Control::kSilverRegion, Control::kBronzeRegion,
};

// The query flow writes 铜牌地区 last of the eight values.
constexpr Control kEighthLabel = Control::kBronzeRegion;

class TimedWindow : public MainWindow {
 public:
  void WriteControlText(Control control, const Text& text) override {
    MainWindow::WriteControlText(control, text);
    if (control == kEighthLabel) eighthWritten = Clock::now();
  }

  Clock::time_point eighthWritten;
};

long ResidentKib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
  }
  return -1;
}

int Run(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: query_bench SERVICE_BASE CA_FILE COUNT\n", stderr);
    return 2;
  }
  const Text base(argv[1]);
  const int count = std::atoi(argv[3]);
  // The benchmark, not the tool, picks the platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  LocalCodePage = kCodePageGbk;

  HttpClientSettings settings = DefaultHttpClientSettings();
  settings.extraCaFile = argv[2];
  ConfigureHttpClient(settings);

  TimedWindow window;
  window.SetServiceBase(base);
  window.show();
  QApplication::processEvents();
  auto* button = static_cast<QPushButton*>(window.Widget(Control::kButton1));

  for (int n = 1; n <= count; ++n) {
    for (Control label : kValueLabels) window.WriteControlText(label, "");
    const Clock::time_point clicked = Clock::now();
    button->click();
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(window.eighthWritten - clicked);
    for (Control label : kValueLabels) {
      if (window.ReadControlText(label).empty()) {
        std::fprintf(stderr, "query_bench: query %d left a label empty\n", n);
        return 1;
      }
    }
    std::printf("query %d %lld\n", n, static_cast<long long>(micros.count()));
    // The repaint the query asked for, outside the timed part.
    QApplication::processEvents();
    if (n == 10 || n == count) std::printf("rss %d %ld\n", n, ResidentKib());
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace
}  // namespace zembrolt

int main(int argc, char** argv) { return zembrolt::Run(argc, argv); }
