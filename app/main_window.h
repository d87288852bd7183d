// The tool's only window, built from the form table, and the control texts
// the query flow reads and writes.
#ifndef ZEMBROLT_APP_MAIN_WINDOW_H_
#define ZEMBROLT_APP_MAIN_WINDOW_H_

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "encoding/text.h"
#include "query/control_texts.h"

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace zembrolt {

class LabelWidget;

// Where the outer rectangle of the window starts when it is centred on
// `screen`: each side halved by signed division, which rounds toward zero.
QPoint CentredOrigin(const QRect& screen);

// The height a one-line edit box is given: `height`, raised to one line of
// its font plus twice the 3-D edge when lower.
int EditBoxHeight(int height, int lineHeight, int edge);

class MainWindow : public QWidget, public ControlTexts {
  Q_OBJECT

 public:
  // Builds the window and its controls from Form(), centred on the whole
  // primary screen, not yet shown. Form() must be sound (FormIsSound).
  MainWindow();
  ~MainWindow() override;

  // The widget of `control`, owned by the window.
  QWidget* Widget(Control control) const;

  Text ReadControlText(Control control) const override;
  // On kCombo1 and kEdit1 a write changes nothing: their texts change only by
  // the user's hand.
  void WriteControlText(Control control, const Text& text) override;

  // The service the query button asks from the next click on: the build's
  // kRankingServiceBase until changed (a benchmark points it at a stand-in).
  void SetServiceBase(const Text& base) { serviceBase_ = base; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Handles a key meant for the window or one of its controls before the
  // control sees it; true when the window acted on it.
  bool HandleKey(const QKeyEvent& key);
  void MoveFocus(int step);
  // Keeps the outer size at kWindowWidth x kWindowHeight once the platform
  // reports the frame around the client area.
  void FitOuterSize();

  std::array<QWidget*, kControlCount> widgets_{};
  std::array<Text, kControlCount> captions_;
  std::vector<QWidget*> focusOrder_;
  QComboBox* combo_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QGroupBox* group_ = nullptr;
  QPushButton* button_ = nullptr;
  QPoint origin_;
  QMargins fittedMargins_;
  Text serviceBase_;
};

// The main window, not yet shown; null when the window's description cannot
// be built. The caller owns it.
std::unique_ptr<MainWindow> CreateMainWindow();

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_MAIN_WINDOW_H_
